#include "SynthCommandLine.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CTempDir.hpp"
#include "SynthArgs.hpp"

namespace sulvan::synth {
namespace {

TEST(SynthCommandLine, TakesTheLimitsAndRefusesWhatLiesBeyondWithOneLineAndStatus2) {
    EXPECT_EQ(ParseArgs("--help").nExit, 0);
    for (const char* pArgs :
         {"", "--kind tarsis-burst --burst-samples 32767", "--beams 1", "--size 1K",
          "--garbage-every 1 --garbage-bytes 4096", "--truncate 16M",
          "--kind pelora --wave-mode --wave-samples 0 --configuration misplaced",
          "--kind corvane --probes 16 --lagging-probe 15 --lag 10000 --beams 4"}) {
        const SParsed parsed = ParseArgs(pArgs + std::string(" out.trs"));
        EXPECT_EQ(parsed.nExit, std::nullopt) << pArgs << ": " << parsed.strErr;
    }
    // Continuous sampling takes no --burst-samples.
    for (const char* pArgs : {"a.trs",
                              "--frobnicate",
                              "--kind kestra",
                              "--configuration elsewhere",
                              "--kind pelora --compass",
                              "--kind pelora --wave-samples 65535",
                              "--kind corvane --truncate 4",
                              "--kind tarsis --probes 2",
                              "--kind corvane --probes 17",
                              "--kind corvane --lagging-probe 2",
                              "--burst-samples 10",
                              "--kind tarsis-burst --burst-samples 32768",
                              "--kind tarsis-burst --burst-samples 0",
                              "--beams 0",
                              "--beams 4",
                              "--firmware 1.080",
                              "--size 1023",
                              "--size 4K --samples 10",
                              "--rate-divisor 0",
                              "--garbage-every 1 --garbage-bytes 4097",
                              "--garbage-every 1 --garbage-bytes 0",
                              "--truncate 16777217"}) {
        const SParsed parsed = ParseArgs(pArgs + std::string(" out.trs"));
        EXPECT_EQ(parsed.nExit, 2) << pArgs;
        EXPECT_EQ(std::count(parsed.strErr.begin(), parsed.strErr.end(), '\n'), 1) << pArgs;
        EXPECT_EQ(parsed.strErr.rfind("sulvan-synth: ", 0), 0u) << pArgs;
    }
}

struct SRun {
    int nStatus;
    std::string strOut;
    std::string strErr;
};

SRun RunProgram(const test::CTempDir& dir, const std::string& strArgs) {
    const std::string strCommand = std::string("'") + SULVAN_SYNTH_PROGRAM + "' " + strArgs +
                                   " >'" + dir.Path("out.txt") + "' 2>'" + dir.Path("err.txt") +
                                   "'";
    const int nRaw = std::system(strCommand.c_str());
    const auto Text = [&](const char* pName) {
        const std::vector<std::uint8_t> bytes = test::ReadFileBytes(dir.Path(pName));
        return std::string(bytes.begin(), bytes.end());
    };
    return {WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, Text("out.txt"), Text("err.txt")};
}

TEST(SynthCommandLine, ProgramWritesTheRecordingAndEndsWithItsStatus) {
    test::CTempDir dir;
    const std::string strPath = dir.Path("burst.trs");
    // 784 + 2 bursts of 40: 2 headers (42 bytes), system samples (28) at 0 and 32 of each and
    // 80 velocity samples (24); less the 7 bytes cut off.
    SRun run = RunProgram(
        dir, std::string("--kind tarsis-burst --burst-samples 40 --samples 80 --truncate 7 '") +
                 strPath + "'");
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(run.strOut,
              strPath + ": 2893 bytes, 80 velocity samples, 4 system samples, 2 burst headers\n");
    EXPECT_EQ(std::filesystem::file_size(strPath), 2893u);

    run = RunProgram(dir, std::string("'") + dir.Path("missing/x.trs") + "'");
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_EQ(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1) << run.strErr;

    run = RunProgram(dir, std::string("--beams 9 '") + strPath + "'");
    EXPECT_EQ(run.nStatus, 2);
    EXPECT_EQ(run.strErr.rfind("sulvan-synth: ", 0), 0u) << run.strErr;
}

}  // namespace
}  // namespace sulvan::synth
