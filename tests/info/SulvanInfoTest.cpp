// sulvan-info as a process, on recordings sulvan-synth writes: what it reports must be what
// the recording was built with.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "CTempDir.hpp"
#include "ProcessRun.hpp"
#include "RecordBuilder.hpp"

namespace sulvan {
namespace {

using nlohmann::json;
using Args = std::vector<std::string>;

class SulvanInfoTest : public ::testing::Test {
  protected:
    std::string Synth(const std::string& strName, Args args) const {
        args.push_back(m_dir.Path(strName));
        const test::SProcessResult result =
            test::RunProcess(SULVAN_SYNTH_PROGRAM, args, m_dir.Path());
        EXPECT_EQ(result.nStatus, 0) << result.strErr;
        return strName;
    }

    json Inspect(const std::string& strName) const {
        const test::SProcessResult result =
            test::RunProcess(SULVAN_INFO_PROGRAM, {"--json", strName}, m_dir.Path());
        EXPECT_EQ(result.nStatus, 0) << result.strErr;
        return json::parse(result.strOut);
    }

    test::CTempDir m_dir;
};

TEST_F(SulvanInfoTest, FramedRecordingsReportWhatTheyWereBuiltWith) {
    json info = Inspect(Synth("burst.trs", {"--kind", "tarsis-burst", "--burst-samples", "32",
                                            "--samples", "96", "--compass"}));
    EXPECT_EQ(info["family"], 1);
    EXPECT_EQ(info["configuration"]["rawDump"], false);
    EXPECT_EQ(info["deployment"]["burst"], true);
    EXPECT_EQ(info["deployment"]["burstSamples"], 32);
    EXPECT_EQ(info["records"]["0x10"], 96);
    EXPECT_EQ(info["records"]["0x12"], 3);
    EXPECT_EQ(info["bursts"], 3);
    EXPECT_EQ(info["damage"]["skippedBytes"], 0);
    EXPECT_EQ(info["burstHeaderRepair"], false);

    // 124 data records, every 29th with a wrong checksum, 11 bytes of garbage after every 17th.
    info = Inspect(Synth("damaged.trs", {"--samples", "120", "--garbage-every", "17",
                                         "--garbage-bytes", "11", "--bad-checksum-every", "29"}));
    EXPECT_EQ(info["damage"]["checksumErrors"], 4);
    EXPECT_EQ(info["records"]["0x10"].get<int>() + info["records"]["0x11"].get<int>(), 120);
    EXPECT_GE(info["damage"]["skippedBytes"].get<int>(), 7 * 11 + 4 * 24);

    info = Inspect(Synth("dump.trs", {"--configuration", "misplaced", "--firmware", "1.07",
                                      "--kind", "tarsis-burst", "--samples", "10"}));
    EXPECT_EQ(info["configuration"]["rawDump"], true);
    EXPECT_EQ(info["burstHeaderRepair"], true);
    EXPECT_EQ(info["firmware"], "1.07");

    info = Inspect(Synth(
        "site.pld", {"--kind", "pelora", "--wave-mode", "--wave-samples", "8", "--samples", "27"}));
    EXPECT_EQ(info["family"], 0);
    EXPECT_EQ(info["hardwareSerial"], "PLD 1001");
    EXPECT_EQ(info["deployment"]["waveMode"], true);
    EXPECT_EQ(info["records"]["0x01"], 3);
    EXPECT_EQ(info["records"]["0x80"], 24);
    EXPECT_EQ(info["bursts"], 3);
}

TEST_F(SulvanInfoTest, CorvaneRecordingsReportTheirProbes) {
    json info = Inspect(Synth("probes.mrv", {"--kind", "corvane", "--probes", "3", "--samples",
                                             "100", "--missing-probe", "2", "--missing-every", "10",
                                             "--time-marks-every", "25", "--late-stamps", "1"}));
    EXPECT_EQ(info["family"], 6);
    ASSERT_EQ(info["probes"].size(), 3u);
    EXPECT_EQ(info["probes"][1]["serialNumber"], "MRV-100124");
    EXPECT_EQ(info["probes"][0]["samples"], 100);
    EXPECT_EQ(info["probes"][2]["samples"], 90);
    EXPECT_EQ(info["records"]["0x0F"], 4);
    EXPECT_EQ(info["lateStamps"], 1);
    EXPECT_TRUE(info["dataEndsAt"].is_null());

    // The damaged chunk announces a record longer than the rest of the file: it is the
    // cut-off tail, no sample.
    info = Inspect(Synth("broken.mrv", {"--kind", "corvane", "--probes", "1", "--samples", "10",
                                        "--damaged-chunk-at", "4"}));
    EXPECT_EQ(info["probes"][0]["samples"], 3);
    EXPECT_FALSE(info["dataEndsAt"].is_null());
}

TEST_F(SulvanInfoTest, TextForPeopleAndStatus1ForWhatIsNoRecording) {
    Synth("run.trs", {"--samples", "10"});
    m_dir.Write("empty.trs", {});
    m_dir.Write("garbage.trs", std::vector<std::uint8_t>(3000, 0x5A));
    const test::SProcessResult result = test::RunProcess(
        SULVAN_INFO_PROGRAM, {"run.trs", "empty.trs", "garbage.trs", "missing.trs"}, m_dir.Path());
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_NE(result.strOut.find("run.trs\n  family          Tarsis (1), "), std::string::npos);
    EXPECT_NE(result.strOut.find("  records         0x10 velocity sample: 10, "), std::string::npos)
        << result.strOut;
    EXPECT_EQ(result.strErr,
              "sulvan-info: empty.trs: the file is empty\n"
              "sulvan-info: garbage.trs: no configuration and no intact record: not a "
              "recording\n"
              "sulvan-info: missing.trs: No such file or directory\n");
}

#ifdef SULVAN_INFO_PLOTS
// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const std::string& strPath) {
    const std::vector<std::uint8_t> bytes = test::ReadFileBytes(strPath);
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 24 || !std::equal(signature.begin(), signature.end(), bytes.begin())) {
        return {0, 0};
    }
    const auto be32 = [&](std::size_t i) {
        return bytes[i] << 24 | bytes[i + 1] << 16 | bytes[i + 2] << 8 | bytes[i + 3];
    };
    return {be32(16), be32(20)};
}

TEST_F(SulvanInfoTest, PlotWritesOnePngPerRecordingBesideItOrInTheDestination) {
    Synth("run.trs", {"--samples", "500", "--garbage-every", "50"});
    Synth("site.pld", {"--kind", "pelora", "--samples", "60", "--wave-samples", "19"});
    std::filesystem::create_directories(m_dir.Path("sub"));
    std::filesystem::create_directories(m_dir.Path("out"));
    Synth("sub/run.trs", {"--samples", "20"});

    test::SProcessResult result =
        test::RunProcess(SULVAN_INFO_PROGRAM, {"--plot", "--json", "run.trs"}, m_dir.Path());
    ASSERT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(json::parse(result.strOut)["plot"], "run.png");
    EXPECT_EQ(PngSize(m_dir.Path("run.png")), std::make_pair(1000, 700));

    result = test::RunProcess(SULVAN_INFO_PROGRAM,
                              {"--plot", "--width", "480", "--height", "320", "-d", "out",
                               "run.trs", "site.pld", "sub/run.trs"},
                              m_dir.Path());
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_NE(result.strOut.find("  plot            out/site.png\n"), std::string::npos);
    EXPECT_EQ(PngSize(m_dir.Path("out/run.png")), std::make_pair(480, 320));
    EXPECT_EQ(PngSize(m_dir.Path("out/site.png")), std::make_pair(480, 320));
    // The second run.png would replace the first.
    EXPECT_EQ(result.strErr,
              "sulvan-info: sub/run.trs: out/run.png was written for another recording of "
              "this run already\n");

    EXPECT_EQ(
        test::RunProcess(SULVAN_INFO_PROGRAM, {"--width", "480", "run.trs"}, m_dir.Path()).nStatus,
        2);
}

TEST_F(SulvanInfoTest, PlotDrawsARecordingWithoutDataAndRefusesWhatIsNoRecording) {
    m_dir.Write("idle.trs", records::StandardConfiguration());
    m_dir.Write("garbage.trs", std::vector<std::uint8_t>(3000, 0x5A));
    const test::SProcessResult result =
        test::RunProcess(SULVAN_INFO_PROGRAM, {"--plot", "idle.trs", "garbage.trs"}, m_dir.Path());
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(PngSize(m_dir.Path("idle.png")), std::make_pair(1000, 700));
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path("garbage.png")));
    EXPECT_EQ(result.strErr,
              "sulvan-info: garbage.trs: no configuration and no intact record: not a "
              "recording\n");
}
#endif

}  // namespace
}  // namespace sulvan
