// The Pelora and Corvane recordings sulvan-synth writes, read back as the converters read them.

#include <gtest/gtest.h>

#include <set>

#include "CTempDir.hpp"
#include "SynthArgs.hpp"
#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "convert/CCorvaneFile.hpp"
#include "format/BcdClock.hpp"
#include "format/CRecordWalk.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan::synth {
namespace {

class NewKindsTest : public ::testing::Test {
  protected:
    SSynthRequest Generate(const std::string& strOptions, const char* pName) {
        const SParsed parsed = ParseArgs(strOptions + " " + m_dir.Path(pName));
        EXPECT_EQ(parsed.nExit, std::nullopt) << parsed.strErr;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(WriteRecording(parsed.request, out, err), 0) << err.str();
        return parsed.request;
    }

    test::CTempDir m_dir;
};

// Records as runs of one kind: V 0x01, X 0x70, W 0x80.
std::string Runs(const std::vector<std::uint8_t>& ids) {
    std::string strRuns;
    for (std::size_t i = 0, nRun = 1; i < ids.size(); ++i, ++nRun) {
        if (i + 1 == ids.size() || ids[i + 1] != ids[i]) {
            strRuns += (strRuns.empty() ? "" : " ") + (nRun == 1 ? "" : std::to_string(nRun)) +
                       (ids[i] == 0x01   ? "V"
                        : ids[i] == 0x70 ? "X"
                                         : "W");
            nRun = 0;
        }
    }
    return strRuns;
}

TEST_F(NewKindsTest, PeloraMeasurementsAreAVelocityRecordAndAWaveBurst) {
    struct SCase {
        const char* pOptions;
        const char* pRuns;
        bool bWaveMode;
        std::uint64_t nSkippedBytes;
    };
    const SCase cases[] = {
        {"--samples 14 --wave-samples 4", "V 4W V 4W V 3W", false, 0},
        {"--samples 9 --wave-samples 2 --extended-every 2 --wave-mode", "V 2W X 2W V 2W", true, 0},
        {"--samples 6 --wave-samples 0 --garbage-every 2 --garbage-bytes 3", "6V", false, 9},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pOptions);
        Generate(std::string("--kind pelora ") + c.pOptions, "synth.pld");
        CBinaryFile file;
        file.Open(m_dir.Path("synth.pld"), CBinaryFile::EOpenMode::Read);
        CInsConf conf;
        std::array<std::uint8_t, 784> head{};
        file.Read(head.data(), head.size());
        ASSERT_TRUE(conf.SetUserConfig(std::span(head).subspan(272)));
        EXPECT_EQ(conf.GetUserFlag(UserField::ModeWord, UserField::ModeBit1), c.bWaveMode);
        SRecordGeometry geometry;
        geometry.bUserConfigValid = true;
        CRecordWalk walk(file, geometry);
        std::vector<std::uint8_t> ids;
        std::set<int> secondsOfFirstBurst;
        for (SRecordView record; walk.Next(record);) {
            ids.push_back(record.Id());
            if (ids.size() <= 5 && record.Id() == 0x80) {
                secondsOfFirstBurst.insert(SplitClock(record.Data() + 4).nSecond);
            }
        }
        EXPECT_EQ(Runs(ids), c.pRuns);
        EXPECT_EQ(walk.Damage().nSkippedBytes, c.nSkippedBytes);
        if (std::string(c.pOptions).find("--wave-samples 4") != std::string::npos) {
            EXPECT_EQ(secondsOfFirstBurst.size(), 2u);  // four samples at 2 Hz
        }
    }
}

TEST_F(NewKindsTest, CorvaneChunksFollowTheProbesAndTheirIrregularities) {
    Generate(
        "--kind corvane --probes 3 --samples 200 --lagging-probe 2 --lag 5 "
        "--missing-probe 1 --missing-every 50 --skip-records-every 40 "
        "--time-marks-every 100 --late-stamps 2 --wide-text",
        "synth.mrv");
    CCorvaneFile input;
    ASSERT_TRUE(input.Open(m_dir.Path("synth.mrv")));
    ASSERT_EQ(input.Config().probes.size(), 3u);
    EXPECT_EQ(input.Config().probes[2].strSerialNumber, "MRV-100125");
    EXPECT_EQ(input.Config().common.nSamplingRate, 16u);
    std::array<int, 3> velocities{};
    int nOthers = 0;
    int nLate = 0;
    int nLaggingBehind = 0;
    for (bool bMore = true; bMore; bMore = input.Next()) {
        if (input.TimeStamp() > 441480672000000000ull) {
            ++nLate;
        } else if (input.Id() == 0x51) {
            ASSERT_EQ(input.Data().size(), 16u);
            ++velocities.at(input.ProbeIndex());
            nLaggingBehind = std::max(nLaggingBehind, velocities[0] - velocities[2]);
        } else {
            ++nOthers;
        }
    }
    // Probe 0 gives five of its samples as 0x81/0x91, probe 1 misses four.
    EXPECT_EQ(velocities, (std::array<int, 3>{195, 196, 200}));
    EXPECT_EQ(nOthers, 5 + 2);
    EXPECT_EQ(nLate, 2);
    EXPECT_GE(nLaggingBehind, 5);
}

TEST_F(NewKindsTest, ADamagedCorvaneChunkAnnouncesMoreThanTheFileHolds) {
    Generate("--kind corvane --probes 1 --samples 10 --damaged-chunk-at 4", "synth.mrv");
    CCorvaneFile input;
    ASSERT_TRUE(input.Open(m_dir.Path("synth.mrv")));
    int nChunks = 1;
    while (input.Next()) {
        ++nChunks;
    }
    EXPECT_EQ(nChunks, 4);
}

}  // namespace
}  // namespace sulvan::synth
