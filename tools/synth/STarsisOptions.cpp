#include "STarsisOptions.hpp"

#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"

namespace sulvan::synth {
namespace {

constexpr double kFirstFirmwareWithBurstHeaders = 1.08;

}  // namespace

std::string DescribeProblem(const STarsisOptions& options) {
    if (options.nBeams < 1 || options.nBeams > kMaxBeams) {
        return "the number of beams must be 1, 2 or 3";
    }
    if (options.nRateDivisor == 0) {
        return "the sampling rate divisor must be at least 1";
    }
    if (options.bBurst && (options.nBurstSamples < 1 || options.nBurstSamples > kMaxBurstSamples)) {
        return "the samples per burst must be 1 to " + std::to_string(kMaxBurstSamples);
    }
    if (options.strFirmware.size() > HardwareField::FirmwareWidth) {
        return "the firmware text has at most 4 characters";
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

bool WritesBurstHeaders(const STarsisOptions& options) {
    CInsConf conf;
    conf.SetFirmwareText(options.strFirmware);
    return options.bBurst && conf.GetFirmwareVersion() >= kFirstFirmwareWithBurstHeaders;
}

}  // namespace sulvan::synth
