#include "SRecordingOptions.hpp"

namespace sulvan::synth {

std::string DescribeProblem(const SRecordingOptions& options) {
    if (options.nBeams < 1 || options.nBeams > kMaxBeams) {
        return "the number of beams must be 1, 2 or 3";
    }
    if (options.nSamples == 0 && options.nSizeLimit < kMinSizeLimit) {
        return "the size must be at least " + std::to_string(kMinSizeLimit) + " bytes";
    }
    if (options.nGarbageEvery != 0 &&
        (options.nGarbageBytes < 1 || options.nGarbageBytes > kMaxGarbageBytes)) {
        return "a garbage run has 1 to " + std::to_string(kMaxGarbageBytes) + " bytes";
    }
    if (options.nTruncateBytes > kMaxTruncateBytes) {
        return "at most " + std::to_string(kMaxTruncateBytes) + " bytes can be truncated";
    }
    return {};
}

}  // namespace sulvan::synth
