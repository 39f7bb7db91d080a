#pragma once
// The command line of sulvan-synth run in process on arguments written as one line of words.

#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "SynthCommandLine.hpp"

namespace sulvan::synth {

struct SParsed {
    std::optional<int> nExit;
    SSynthRequest request;
    std::string strErr;
};

inline SParsed ParseArgs(const std::string& strWords) {
    std::istringstream words(strWords);
    const std::vector<std::string> args(std::istream_iterator<std::string>(words), {});
    std::vector<const char*> pointers = {"sulvan-synth"};
    for (const std::string& strArg : args) {
        pointers.push_back(strArg.c_str());
    }
    SParsed parsed;
    std::ostringstream out;
    std::ostringstream err;
    parsed.nExit = ParseCommandLine(static_cast<int>(pointers.size()), pointers.data(),
                                    parsed.request, out, err);
    parsed.strErr = err.str();
    return parsed;
}

}  // namespace sulvan::synth
