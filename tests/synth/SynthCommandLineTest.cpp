#include "SynthCommandLine.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "CTempDir.hpp"

namespace sulvan::synth {
namespace {

struct SParsed {
    std::optional<int> nExit;
    SSynthRequest request;
    std::string strOut;
    std::string strErr;
};

SParsed Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "sulvan-synth");
    std::vector<const char*> pointers;
    for (const std::string& strArg : args) {
        pointers.push_back(strArg.c_str());
    }
    SParsed parsed;
    std::ostringstream out;
    std::ostringstream err;
    parsed.nExit = ParseCommandLine(static_cast<int>(pointers.size()), pointers.data(),
                                    parsed.request, out, err);
    parsed.strOut = out.str();
    parsed.strErr = err.str();
    return parsed;
}

TEST(SynthCommandLine, TakesEveryOptionIntoTheRequest) {
    SParsed parsed = Parse({"out.trs"});
    ASSERT_FALSE(parsed.nExit.has_value()) << parsed.strErr;
    const STarsisOptions& o = parsed.request.tarsis;
    EXPECT_EQ(parsed.request.strOutput, "out.trs");
    EXPECT_FALSE(o.bBurst || o.bCompass);
    EXPECT_EQ(o.nSizeLimit, 1048576u);
    EXPECT_EQ(o.nSamples, 0u);
    EXPECT_EQ(o.configuration, EConfigPlacement::Standard);

    parsed = Parse({"--kind=tarsis-burst",
                    "--burst-samples",
                    "64",
                    "--compass",
                    "--firmware",
                    "1.07",
                    "--beams",
                    "2",
                    "--size",
                    "4G",
                    "--rate-divisor",
                    "1",
                    "--seed",
                    "18446744073709551615",
                    "--garbage-every",
                    "9",
                    "--garbage-bytes",
                    "100",
                    "--bad-checksum-every",
                    "4",
                    "--truncate",
                    "1K",
                    "--configuration",
                    "no-user",
                    "out.trs"});
    ASSERT_FALSE(parsed.nExit.has_value()) << parsed.strErr;
    const STarsisOptions& all = parsed.request.tarsis;
    EXPECT_TRUE(all.bBurst && all.bCompass);
    EXPECT_EQ(all.nBurstSamples, 64);
    EXPECT_EQ(all.strFirmware, "1.07");
    EXPECT_EQ(all.nBeams, 2);
    EXPECT_EQ(all.nSizeLimit, 4294967296u);
    EXPECT_EQ(all.nRateDivisor, 1);
    EXPECT_EQ(all.nSeed, 18446744073709551615ull);
    EXPECT_EQ(all.nGarbageEvery, 9u);
    EXPECT_EQ(all.nGarbageBytes, 100u);
    EXPECT_EQ(all.nBadChecksumEvery, 4u);
    EXPECT_EQ(all.nTruncateBytes, 1024u);
    EXPECT_EQ(all.configuration, EConfigPlacement::NoUser);

    const std::pair<const char*, EConfigPlacement> placements[] = {
        {"missing", EConfigPlacement::Missing}, {"misplaced", EConfigPlacement::Misplaced}};
    for (const auto& [pName, placement] : placements) {
        parsed = Parse(
            {"--samples", "10", "--compass", "--no-compass", "--configuration", pName, "out.trs"});
        EXPECT_EQ(parsed.request.tarsis.configuration, placement) << pName;
        EXPECT_EQ(parsed.request.tarsis.nSamples, 10u);
        EXPECT_FALSE(parsed.request.tarsis.bCompass);
    }
}

TEST(SynthCommandLine, UsageErrorsGiveOneLineAndStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--frobnicate", "out.trs"},
        {"--kind", "pelora", "out.trs"},
        {"--burst-samples", "10", "out.trs"},  // continuous by default
        {"--kind", "tarsis-burst", "--burst-samples", "0", "out.trs"},
        {"--beams", "4", "out.trs"},
        {"--beams", "three", "out.trs"},
        {"--firmware", "1.080", "out.trs"},
        {"--size", "1T", "out.trs"},
        {"--size", "1023", "out.trs"},
        {"--size", "4K", "--samples", "10", "out.trs"},
        {"--rate-divisor", "0", "out.trs"},
        {"--rate-divisor", "65536", "out.trs"},
        {"--garbage-every", "3", "--garbage-bytes", "4097", "out.trs"},
        {"--truncate", "17M", "out.trs"},
        {"--configuration", "elsewhere", "out.trs"},
        {"a.trs", "b.trs"},
    };
    for (const std::vector<std::string>& args : cases) {
        const SParsed parsed = Parse(args);
        const std::string strArgs = ::testing::PrintToString(args);
        EXPECT_EQ(parsed.nExit, 2) << strArgs;
        EXPECT_EQ(std::count(parsed.strErr.begin(), parsed.strErr.end(), '\n'), 1)
            << strArgs << ": " << parsed.strErr;
        EXPECT_EQ(parsed.strErr.rfind("sulvan-synth: ", 0), 0u) << strArgs;
        EXPECT_TRUE(parsed.strOut.empty()) << strArgs;
    }
}

TEST(SynthCommandLine, HelpExplainsEveryOptionAndEndsWithStatus0) {
    const SParsed parsed = Parse({"--help"});
    EXPECT_EQ(parsed.nExit, 0);
    EXPECT_TRUE(parsed.strErr.empty());
    for (const char* pName : {"OUTPUT",          "--kind",
                              "--burst-samples", "--compass",
                              "--no-compass",    "--firmware",
                              "--beams",         "--size",
                              "--samples",       "--rate-divisor",
                              "--seed",          "--garbage-every",
                              "--garbage-bytes", "--bad-checksum-every",
                              "--truncate",      "--configuration",
                              "tarsis-burst",    "misplaced",
                              "no-user",         "missing"}) {
        EXPECT_NE(parsed.strOut.find(pName), std::string::npos) << pName;
    }
}

// ---- The program as a process ----------------------------------------------------------

struct SRun {
    int nStatus;
    std::string strErr;
};

SRun RunProgram(const test::CTempDir& dir, const std::string& strArgs) {
    const std::string strErrPath = dir.Path("stderr.txt");
    const std::string strCommand = std::string("'") + SULVAN_SYNTH_PROGRAM + "' " + strArgs +
                                   " >/dev/null 2>'" + strErrPath + "'";
    const int nRaw = std::system(strCommand.c_str());
    const std::vector<std::uint8_t> err = test::ReadFileBytes(strErrPath);
    return {WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, std::string(err.begin(), err.end())};
}

TEST(SynthCommandLine, ProgramWritesTheRecordingAndReportsFailuresByStatus) {
    test::CTempDir dir;
    const std::string strOut = dir.Path("burst.trs");
    // 784 + 2 headers, 4 system samples (0 and 32 in each burst of 40), 80 velocity samples.
    SRun run =
        RunProgram(dir, "--kind tarsis-burst --burst-samples 40 --samples 80 '" + strOut + "'");
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(std::filesystem::file_size(strOut), 784u + 2 * 42 + 4 * 28 + 80 * 24);

    run = RunProgram(dir, "--samples 80 --truncate 7 '" + strOut + "'");
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_EQ(std::filesystem::file_size(strOut), 784u + 3 * 28 + 80 * 24 - 7);

    run = RunProgram(dir, "'" + dir.Path("missing/folder.trs") + "'");
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_EQ(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1) << run.strErr;

    run = RunProgram(dir, "--beams 9 '" + strOut + "'");
    EXPECT_EQ(run.nStatus, 2);
    EXPECT_EQ(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1) << run.strErr;
}

}  // namespace
}  // namespace sulvan::synth
