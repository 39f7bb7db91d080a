#pragma once
// sulvan-convert run in process, as its main() runs it, with --json: what the reliability tests
// check of a file's fate (the exit status, the JSON outcome, the block on standard error).

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "ConvertCommandLine.hpp"

namespace sulvan::test {

struct SCommandLineRun {
    int nStatus = -1;
    std::string strErr;
    nlohmann::json fate;  // the JSON outcome of the one input
};

inline SCommandLineRun RunCommandLine(std::vector<std::string> args) {
    args.insert(args.begin(), {"sulvan-convert", "--json"});
    std::vector<const char*> argv;
    for (const std::string& strArg : args) {
        argv.push_back(strArg.c_str());
    }
    cli::SConvertRequest request;
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in;
    SCommandLineRun run;
    EXPECT_EQ(
        cli::ParseConvertCommandLine(static_cast<int>(argv.size()), argv.data(), request, out, err),
        -1);
    run.nStatus = cli::RunConvert(request, out, err, in, {false, false});
    run.strErr = err.str();
    run.fate = nlohmann::json::parse(out.str());
    return run;
}

}  // namespace sulvan::test
