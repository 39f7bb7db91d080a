#include "CTarsisGenerator.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "CTempDir.hpp"
#include "SynthArgs.hpp"
#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "format/BcdClock.hpp"
#include "format/CRecordWalk.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan::synth {
namespace {

using records::Bytes;
using Found = std::vector<std::pair<std::uint8_t, std::uint64_t>>;

constexpr std::uint64_t kConfig = 784;
// 100 samples at 32 Hz: 104 data records, 3296 bytes with the configuration.
constexpr const char* kContinuous = "S 32V S 32V S 32V S 4V";

class CTarsisGeneratorTest : public ::testing::Test {
  protected:
    // Writes the recording that sulvan-synth writes with these options.
    Bytes Generate(const std::string& strOptions) {
        const SParsed parsed = ParseArgs(strOptions + " " + m_dir.Path("synth.trs"));
        EXPECT_EQ(parsed.nExit, std::nullopt) << parsed.strErr;
        m_options = parsed.request.tarsis;
        CTarsisGenerator(m_options).Write(parsed.request.strOutput);
        return test::ReadFileBytes(parsed.request.strOutput);
    }

    // Walks the data records as a converter does once a valid configuration set the geometry,
    // and names them in runs of one kind: "S 32V H" is a system sample, 32 velocity samples and
    // a velocity sample header.
    std::string Walk() {
        CBinaryFile file;
        file.Open(m_dir.Path("synth.trs"), CBinaryFile::EOpenMode::Read);
        SRecordGeometry geometry;
        geometry.nBeams = m_options.nBeams;
        geometry.bUserConfigValid = true;
        CRecordWalk walk(file, geometry);
        m_records.clear();
        for (SRecordView record; walk.Next(record);) {
            m_records.emplace_back(record.bytes.begin(), record.bytes.end());
        }
        m_damage = walk.Damage();
        std::string strRuns;
        for (std::size_t i = 0, nRun = 1; i < m_records.size(); ++i, ++nRun) {
            const std::uint8_t nId = m_records[i][1];
            if (i + 1 == m_records.size() || m_records[i + 1][1] != nId) {
                // Appended piece by piece: a literal + string sum trips a false -Wrestrict
                // in g++ 12 at -O3.
                strRuns += strRuns.empty() ? "" : " ";
                strRuns += nRun == 1 ? "" : std::to_string(nRun);
                strRuns += std::string("VSH").at(nId - RecordId::VelocitySample);
                nRun = 0;
            }
        }
        return strRuns;
    }

    test::CTempDir m_dir;
    STarsisOptions m_options;
    std::vector<Bytes> m_records;
    SDamageReport m_damage;
};

// Identifier and offset of every intact configuration record, wherever it stands.
Found FindConfiguration(const Bytes& bytes) {
    Found found;
    for (std::size_t p = 0; p + 4 <= bytes.size(); ++p) {
        const std::size_t nSize = 2u * ReadU16Le(&bytes[p + 2]);
        if (bytes[p] == kSyncByte && IsConfigurationRecord(bytes[p + 1]) &&
            nSize == ExpectedRecordSize(bytes[p + 1], 3, 1) && p + nSize <= bytes.size() &&
            IsRecordIntact(std::span(bytes).subspan(p, nSize))) {
            found.emplace_back(bytes[p + 1], p);
        }
    }
    return found;
}

TEST_F(CTarsisGeneratorTest, RecordsFollowTheSamplingRateTheBurstsAndTheHead) {
    struct SCase {
        const char* pOptions;
        const char* pRuns;
        const char* pSeconds;  // clocks of the headers and system samples after 12:00:00
    };
    // A system sample about once a second; a burst every 600 s (the measurement interval), or
    // back to back when it lasts longer, as 10 samples at 1/64 Hz do.
    const SCase cases[] = {
        {"--samples 100", kContinuous, "0 1 2 3"},
        {"--samples 400 --rate-divisor 3 --beams 2", "S 171V S 171V S 58V", "0 1 2"},  // 170.7 Hz
        {"--samples 4 --rate-divisor 1024 --beams 1", "S V S V S V S V", "0 2 4 6"},
        {"--samples 1100 --rate-divisor 1", "S 512V S 512V S 76V", "0 1 2"},
        {"--samples 100 --kind tarsis-burst --burst-samples 40",
         "H S 32V S 8V H S 32V S 8V H S 20V", "0 0 1 600 600 601 1200 1200"},
        {"--samples 100 --kind tarsis-burst --burst-samples 40 --firmware 1.07",
         "S 32V S 8V S 32V S 8V S 20V", "0 1 600 601 1200"},
        {"--samples 11 --kind tarsis-burst --burst-samples 10 --rate-divisor 32768 --compass",
         "H S V S V S V S V S V S V S V S V S V S V H S V",
         "0 0 64 128 192 256 320 384 448 512 576 640 640"}};
    for (const SCase& c : cases) {
        const Bytes bytes = Generate(c.pOptions);
        // Clean: every byte after the configuration belongs to these records.
        EXPECT_EQ(Walk(), c.pRuns);
        EXPECT_TRUE(m_damage.IsClean()) << c.pOptions;
        CInsConf conf;
        ASSERT_EQ(conf.SetHardwareConfig(std::span(bytes).first(48)), 1);
        ASSERT_EQ(conf.SetHeadConfig(std::span(bytes).subspan(48, 224)), 1);
        ASSERT_EQ(conf.SetUserConfig(std::span(bytes).subspan(272, 512)), 1);
        const int nBurst = m_options.bBurst ? m_options.nBurstSamples : 0;
        EXPECT_EQ(conf.GetFirmwareText(), m_options.strFirmware);
        EXPECT_EQ(conf.GetHeadBeams(), m_options.nBeams);
        EXPECT_EQ(conf.GetUserBeams(), m_options.nBeams);
        EXPECT_EQ(conf.GetUserWord(UserField::BurstSamples), nBurst);
        EXPECT_EQ(conf.HasCompass(), m_options.bCompass);
        EXPECT_EQ(conf.GetUserInt(UserField::CoordinateSystem), m_options.bCompass ? 0 : 1);
        std::string strSeconds;
        std::set<std::vector<int>> attitudes;  // heading, pitch and roll
        for (const Bytes& record : m_records) {
            if (record[1] == RecordId::VelocitySample) {
                continue;
            }
            const SDateTimeFields time = SplitClock(&record[kRecordClockOffset]);
            strSeconds += strSeconds.empty() ? "" : " ";
            strSeconds +=
                std::to_string((time.nHour - 12) * 3600 + time.nMinute * 60 + time.nSecond);
            if (record[1] == RecordId::VelocityHeader) {
                EXPECT_EQ(ReadU16Le(&record[10]), nBurst);
            } else {
                attitudes.insert(
                    {ReadI16Le(&record[14]), ReadI16Le(&record[16]), ReadI16Le(&record[18])});
            }
        }
        EXPECT_EQ(strSeconds, c.pSeconds);
        const std::set<std::vector<int>> level = {{0, 0, 0}};
        EXPECT_TRUE(m_options.bCompass ? attitudes.size() > 1 : attitudes == level) << c.pOptions;
    }
}

TEST_F(CTarsisGeneratorTest, PlacesTheConfigurationAsAsked) {
    struct SCase {
        const char* pOptions;
        std::size_t nRecords;  // of hardware, head and user
        std::uint64_t nAt;     // of the hardware record
        const char* pRuns;
    };
    // Misplaced: after 8 data records, a system sample and 7 velocity samples (196 bytes) or a
    // header, a system sample and 6 velocity samples (214 bytes); after all data when there are
    // fewer. Even with the longest garbage it ends within the 51200 bytes the reader searches,
    // and a clean walk shows that the data fill the rest.
    const SCase cases[] = {
        {"--samples 100", 3, 0, kContinuous},
        {"--samples 100 --configuration missing", 0, 0, kContinuous},
        {"--samples 100 --configuration no-user", 2, 0, kContinuous},
        {"--samples 100 --configuration misplaced", 3, 196, kContinuous},
        {"--samples 100 --configuration misplaced --kind tarsis-burst --burst-samples 50", 3, 214,
         "H S 32V S 18V H S 32V S 18V"},
        {"--samples 3 --configuration misplaced", 3, 100, "S 3V"},
        {"--samples 100 --configuration misplaced --garbage-every 1 --garbage-bytes 4096", 3,
         196 + 8 * 4096, kContinuous}};
    for (const SCase& c : cases) {
        Found expected = {{0x05, c.nAt}, {0x04, c.nAt + 48}, {0x00, c.nAt + 272}};
        expected.resize(c.nRecords);
        EXPECT_EQ(FindConfiguration(Generate(c.pOptions)), expected) << c.pOptions;
        EXPECT_EQ(Walk(), c.pRuns) << c.pOptions;
        EXPECT_EQ(m_damage.IsClean(), m_options.nGarbageEvery == 0) << c.pOptions;
        EXPECT_EQ(m_damage.nChecksumErrors, 0u) << c.pOptions;  // garbage starts no record
    }
}

TEST_F(CTarsisGeneratorTest, FillsTheLengthWithWholeRecordsAndDamagesThemAsAsked) {
    struct SCase {
        const char* pOptions;
        std::size_t nSize;
        const char* pLastRuns;  // the walk ends with these runs
        std::uint64_t nSkippedBytes;
        std::uint64_t nSkippedSpans;
    };
    // With 100 samples: 104 data records, a system sample (28 bytes) before samples 0, 32, 64
    // and 96 (24 bytes each). A second of the size is 796 bytes.
    const SCase cases[] = {
        // After data records 10, 20, ..., 100.
        {"--samples 100 --garbage-every 10 --garbage-bytes 5", 3296 + 50, kContinuous, 50, 10},
        // Records 25, 50 and 75 are velocity samples, record 100 the fourth system sample.
        {"--samples 100 --bad-checksum-every 25", 3296, "S 31V S 31V S 35V", 3 * 24 + 28, 4},
        {"--samples 100 --truncate 10", 3296 - 10, "S 32V S 32V S 32V S 3V", 24 - 10, 1},
        // One byte more than the configuration, a system sample and a velocity sample.
        {"--samples 1 --truncate 837", 0, "", 0, 0},
        // 784 + 4 s = 3968, then 1 + 4 samples; the cut bytes count in.
        {"--size 4K", 4092, "S 32V S 32V S 32V S 32V S 4V", 0, 0},
        {"--size 4K --truncate 100", 3992, "S 32V S 32V S 32V S 32V", 24, 1},
        // Room stays for the block: 240 bytes hold 1 + 3 samples with 30 garbage bytes each.
        {"--size 1K --configuration misplaced --garbage-every 1 --garbage-bytes 30", 220 + 784,
         "S 3V", 4 * 30, 4},
        // Across chunks: 784 + 3950 s, then 1 + 29 samples; or 3949 s, 1 + 20 samples and 12.
        {"--size 3M", 3145708, "S 32V S 29V", 0, 0},
        {"--size 3M --truncate 1000", 3145708 - 1000, "S 32V S 20V", 12, 1}};
    for (const SCase& c : cases) {
        EXPECT_EQ(Generate(c.pOptions).size(), c.nSize) << c.pOptions;
        EXPECT_TRUE(Walk().ends_with(c.pLastRuns)) << c.pOptions;
        EXPECT_EQ(m_damage.nSkippedBytes, c.nSkippedBytes) << c.pOptions;
        EXPECT_EQ(m_damage.nSkippedSpans, c.nSkippedSpans) << c.pOptions;
        // No exact count: sliding through a damaged record may try a sync byte inside it too.
        EXPECT_EQ(m_damage.nChecksumErrors == 0, m_options.nBadChecksumEvery == 0) << c.pOptions;
    }
}

TEST_F(CTarsisGeneratorTest, ASeedNamesOneRecording) {
    const Bytes first = Generate("--samples 200 --seed 42 --garbage-every 7");
    CTarsisGenerator generator(m_options);
    generator.Write(m_dir.Path("again.trs"));
    generator.Write(m_dir.Path("again.trs"));  // the second write starts afresh as well
    EXPECT_EQ(test::ReadFileBytes(m_dir.Path("again.trs")), first);
    const Bytes other = Generate("--samples 200 --seed 43 --garbage-every 7");
    ASSERT_EQ(other.size(), first.size());
    EXPECT_NE(other, first);
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + kConfig, other.begin()));
}

}  // namespace
}  // namespace sulvan::synth
