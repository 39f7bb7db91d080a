// sulvan-synth: writes a synthetic recording for tests, benchmarks and the examples.

#include <iostream>

#include "SynthCommandLine.hpp"

int main(int nArgs, char** pArgs) {
    sulvan::synth::SSynthRequest request;
    if (const std::optional<int> nExit =
            sulvan::synth::ParseCommandLine(nArgs, pArgs, request, std::cout, std::cerr)) {
        return *nExit;
    }
    return sulvan::synth::WriteRecording(request, std::cout, std::cerr);
}
