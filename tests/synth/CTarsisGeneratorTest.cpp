#include "CTarsisGenerator.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

#include "CTempDir.hpp"
#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "format/CRecordWalk.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/FileError.hpp"

namespace sulvan::synth {
namespace {

using test::Bytes;

// Sizes of the records in bytes, for three beams unless said otherwise.
constexpr std::uint64_t kConfig = 784;
constexpr std::uint64_t kSystem = 28;
constexpr std::uint64_t kHeader = 42;
constexpr std::uint64_t kVelocity3 = 24;

struct SWalked {
    std::uint8_t nId;
    std::uint64_t nOffset;
    Bytes bytes;
};

// A configuration record found as the reader's search finds one: sync byte, identifier, size
// field and an intact checksum.
struct SFoundConfig {
    std::uint8_t nId;
    std::uint64_t nOffset;
    bool operator==(const SFoundConfig&) const = default;
};

class CTarsisGeneratorTest : public ::testing::Test {
  protected:
    Bytes Generate(const STarsisOptions& options, const std::string& strName = "synth.trs") {
        const std::string strPath = m_dir.Path(strName);
        m_summary = CTarsisGenerator(options).Write(strPath);
        Bytes bytes = test::ReadFileBytes(strPath);
        EXPECT_EQ(m_summary.nBytes, bytes.size());
        return bytes;
    }

    // Walks the file as a converter does once a valid configuration has set the geometry.
    std::vector<SWalked> Walk(const std::string& strName, int nBeams) {
        CBinaryFile file;
        file.Open(m_dir.Path(strName), CBinaryFile::EOpenMode::Read);
        SRecordGeometry geometry;
        geometry.nBeams = nBeams;
        geometry.bUserConfigValid = true;
        CRecordWalk walk(file, geometry);
        std::vector<SWalked> records;
        SRecordView record;
        while (walk.Next(record)) {
            records.push_back(
                {record.Id(), record.nOffset, Bytes(record.bytes.begin(), record.bytes.end())});
        }
        m_damage = walk.Damage();
        return records;
    }

    std::vector<SWalked> GenerateAndWalk(const STarsisOptions& options) {
        Generate(options);
        return Walk("synth.trs", options.nBeams);
    }

    test::CTempDir m_dir;
    SSynthSummary m_summary;
    SDamageReport m_damage;
};

std::map<std::uint8_t, int> CountById(const std::vector<SWalked>& records) {
    std::map<std::uint8_t, int> counts;
    for (const SWalked& record : records) {
        ++counts[record.nId];
    }
    return counts;
}

std::vector<SFoundConfig> FindConfiguration(const Bytes& bytes) {
    const std::map<std::uint8_t, std::size_t> sizes = {
        {RecordId::HardwareConfig, 48}, {RecordId::HeadConfig, 224}, {RecordId::UserConfig, 512}};
    std::vector<SFoundConfig> found;
    for (std::size_t p = 0; p + 4 <= bytes.size(); ++p) {
        const auto it = sizes.find(bytes[p + 1]);
        if (bytes[p] != kSyncByte || it == sizes.end() || p + it->second > bytes.size() ||
            ReadU16Le(&bytes[p + 2]) != it->second / 2) {
            continue;
        }
        if (IsRecordIntact(std::span(bytes).subspan(p, it->second))) {
            found.push_back({bytes[p + 1], p});
        }
    }
    return found;
}

STarsisOptions Samples(std::uint64_t nSamples) {
    STarsisOptions options;
    options.nSamples = nSamples;
    return options;
}

STarsisOptions Bursts(std::uint64_t nSamples, int nBurstSamples, const char* pFirmware) {
    STarsisOptions options = Samples(nSamples);
    options.bBurst = true;
    options.nBurstSamples = nBurstSamples;
    options.strFirmware = pFirmware;
    return options;
}

// ---- Record layout --------------------------------------------------------------------

TEST_F(CTarsisGeneratorTest, ContinuousRecordingHasASystemSampleEverySecondOfSamples) {
    // 512 / 16 = 32 Hz: system samples before velocity samples 0, 32, 64 and 96.
    const Bytes bytes = Generate(Samples(100));
    EXPECT_EQ(bytes.size(), kConfig + 4 * kSystem + 100 * kVelocity3);
    const std::vector<SWalked> records = Walk("synth.trs", 3);
    EXPECT_TRUE(m_damage.IsClean());
    EXPECT_EQ(CountById(records), (std::map<std::uint8_t, int>{{RecordId::VelocitySample, 100},
                                                               {RecordId::SystemSample, 4}}));
    std::vector<std::size_t> systemPositions;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].nId == RecordId::SystemSample) {
            systemPositions.push_back(i);
        }
    }
    EXPECT_EQ(systemPositions, (std::vector<std::size_t>{0, 33, 66, 99}));
    EXPECT_EQ(records.front().nOffset, kConfig);
    EXPECT_EQ(m_summary.nVelocitySamples, 100u);
    EXPECT_EQ(m_summary.nSystemSamples, 4u);
    EXPECT_EQ(m_summary.nDataRecords, 104u);
}

TEST_F(CTarsisGeneratorTest, VelocitySamplesHaveFourBytesPerBeamAndTwelveMore) {
    for (int nBeams = 1; nBeams <= 3; ++nBeams) {
        STarsisOptions options = Samples(100);
        options.nBeams = nBeams;
        const Bytes bytes = Generate(options);
        const std::uint64_t nVelocitySize = 4 * static_cast<std::uint64_t>(nBeams) + 12;
        EXPECT_EQ(bytes.size(), kConfig + 4 * kSystem + 100 * nVelocitySize) << nBeams;
        const std::vector<SWalked> records = Walk("synth.trs", nBeams);
        EXPECT_TRUE(m_damage.IsClean()) << nBeams;
        EXPECT_EQ(CountById(records)[RecordId::VelocitySample], 100) << nBeams;
        for (const SWalked& record : records) {
            if (record.nId == RecordId::VelocitySample) {
                ASSERT_EQ(record.bytes.size(), nVelocitySize);
            }
        }
        CInsConf conf;
        ASSERT_EQ(conf.SetHeadConfig(std::span(bytes).subspan(48, 224)), 1);
        ASSERT_EQ(conf.SetUserConfig(std::span(bytes).subspan(272, 512)), 1);
        EXPECT_EQ(conf.GetHeadBeams(), nBeams);
        EXPECT_EQ(conf.GetUserBeams(), nBeams);
    }
}

TEST_F(CTarsisGeneratorTest, EachBurstOpensWithAHeaderCountingItsSamples) {
    // Bursts of 40 at 32 Hz: system samples at 0 and 32 in each burst, so 2 + 2 + 1.
    const Bytes bytes = Generate(Bursts(100, 40, "1.08"));
    EXPECT_EQ(bytes.size(), kConfig + 3 * kHeader + 5 * kSystem + 100 * kVelocity3);
    const std::vector<SWalked> records = Walk("synth.trs", 3);
    EXPECT_TRUE(m_damage.IsClean());
    std::vector<int> samplesPerBurst;
    std::vector<std::string> headerClocks;
    for (const SWalked& record : records) {
        if (record.nId == RecordId::VelocityHeader) {
            samplesPerBurst.push_back(0);
            EXPECT_EQ(ReadU16Le(&record.bytes[10]), 40);
            const SDateTimeFields fields = SplitClock(&record.bytes[4]);
            headerClocks.push_back(std::to_string(fields.nHour) + ":" +
                                   std::to_string(fields.nMinute) + ":" +
                                   std::to_string(fields.nSecond));
        } else if (record.nId == RecordId::VelocitySample) {
            ASSERT_FALSE(samplesPerBurst.empty()) << "a velocity sample before the first header";
            ++samplesPerBurst.back();
        }
    }
    EXPECT_EQ(samplesPerBurst, (std::vector<int>{40, 40, 20}));
    // One burst every 600 s, the measurement interval of the user configuration.
    EXPECT_EQ(headerClocks, (std::vector<std::string>{"12:0:0", "12:10:0", "12:20:0"}));
    EXPECT_EQ(records[0].nId, RecordId::VelocityHeader);
    EXPECT_EQ(records[1].nId, RecordId::SystemSample);
    CInsConf conf;
    ASSERT_EQ(conf.SetUserConfig(std::span(bytes).subspan(272, 512)), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::BurstSamples), 40);
}

TEST_F(CTarsisGeneratorTest, BurstsLongerThanTheIntervalFollowBackToBack) {
    // 512 / 16384 Hz is one sample every 32 s: a burst of 40 lasts 1280 s, more than 600 s.
    STarsisOptions options = Bursts(41, 40, "1.08");
    options.nRateDivisor = 16384;
    Generate(options);
    std::vector<int> headerSeconds;
    for (const SWalked& record : Walk("synth.trs", 3)) {
        if (record.nId == RecordId::VelocityHeader) {
            const SDateTimeFields fields = SplitClock(&record.bytes[4]);
            headerSeconds.push_back((fields.nHour - 12) * 3600 + fields.nMinute * 60 +
                                    fields.nSecond);
        }
    }
    EXPECT_EQ(headerSeconds, (std::vector<int>{0, 1280}));
}

TEST_F(CTarsisGeneratorTest, OldFirmwareWritesBurstsWithoutHeaders) {
    const Bytes bytes = Generate(Bursts(100, 40, "1.07"));
    EXPECT_EQ(bytes.size(), kConfig + 5 * kSystem + 100 * kVelocity3);
    const std::vector<SWalked> records = Walk("synth.trs", 3);
    EXPECT_EQ(CountById(records), (std::map<std::uint8_t, int>{{RecordId::VelocitySample, 100},
                                                               {RecordId::SystemSample, 5}}));
    CInsConf conf;
    ASSERT_EQ(conf.SetHardwareConfig(std::span(bytes).first(48)), 1);
    EXPECT_EQ(conf.GetFirmwareText(), "1.07");
    EXPECT_DOUBLE_EQ(conf.GetFirmwareVersion(), 1.07);
    ASSERT_EQ(conf.SetUserConfig(std::span(bytes).subspan(272, 512)), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::BurstSamples), 40);
}

TEST_F(CTarsisGeneratorTest, SystemSampleClocksAdvanceWithTheSamplingRate) {
    struct SCase {
        std::uint16_t nDivisor;
        std::uint64_t nSamples;
        std::vector<int> seconds;  // after 12:00:00 of each system sample
    };
    const SCase cases[] = {
        {16, 100, {0, 1, 2, 3}},  // 32 Hz, one every 32 samples
        {3, 400, {0, 1, 2}},      // 170.7 Hz, one every 171 samples
        {1024, 4, {0, 2, 4, 6}},  // 0.5 Hz, one with every sample
        {512, 3, {0, 1, 2}},      // 1 Hz
        {1, 1100, {0, 1, 2}},     // 512 Hz
    };
    for (const SCase& c : cases) {
        STarsisOptions options = Samples(c.nSamples);
        options.nRateDivisor = c.nDivisor;
        Generate(options);
        std::vector<int> seconds;
        for (const SWalked& record : Walk("synth.trs", 3)) {
            if (record.nId == RecordId::SystemSample) {
                const SDateTimeFields fields = SplitClock(&record.bytes[4]);
                EXPECT_EQ(fields.nYear, 2008);
                seconds.push_back((fields.nHour - 12) * 3600 + fields.nMinute * 60 +
                                  fields.nSecond);
            }
        }
        EXPECT_EQ(seconds, c.seconds) << "divisor " << c.nDivisor;
    }
}

TEST_F(CTarsisGeneratorTest, CompassSetsTheHeadBitAndMovesTheAttitude) {
    for (const bool bCompass : {false, true}) {
        STarsisOptions options = Samples(200);
        options.bCompass = bCompass;
        const Bytes bytes = Generate(options);
        CInsConf conf;
        ASSERT_EQ(conf.SetHeadConfig(std::span(bytes).subspan(48, 224)), 1);
        ASSERT_EQ(conf.SetUserConfig(std::span(bytes).subspan(272, 512)), 1);
        EXPECT_EQ(conf.HasCompass(), bCompass);
        EXPECT_EQ(conf.GetUserInt(UserField::CoordinateSystem), bCompass ? 0 : 1);
        std::set<int> headings;
        int nNonZeroAttitude = 0;
        for (const SWalked& record : Walk("synth.trs", 3)) {
            if (record.nId == RecordId::SystemSample) {
                headings.insert(ReadI16Le(&record.bytes[14]));
                nNonZeroAttitude +=
                    ReadI16Le(&record.bytes[16]) != 0 || ReadI16Le(&record.bytes[18]) != 0;
            }
        }
        if (bCompass) {
            EXPECT_GT(headings.size(), 1u);
            EXPECT_GT(nNonZeroAttitude, 0);
        } else {
            EXPECT_EQ(headings, std::set<int>{0});
            EXPECT_EQ(nNonZeroAttitude, 0);
        }
    }
}

TEST_F(CTarsisGeneratorTest, SampleValuesVaryWithinPlausibleRanges) {
    Generate(Samples(500));
    std::set<int> velocities[3];
    std::set<int> amplitudes;
    std::set<int> correlations;
    for (const SWalked& record : Walk("synth.trs", 3)) {
        if (record.nId != RecordId::VelocitySample) {
            continue;
        }
        for (std::size_t b = 0; b < 3; ++b) {
            velocities[b].insert(ReadI16Le(&record.bytes[10 + 2 * b]));
            amplitudes.insert(record.bytes[16 + b]);
            correlations.insert(record.bytes[19 + b]);
        }
    }
    for (const std::set<int>& beam : velocities) {
        EXPECT_GT(beam.size(), 100u);
        EXPECT_GE(*beam.begin(), -1620);
        EXPECT_LE(*beam.rbegin(), 1620);
    }
    EXPECT_GT(amplitudes.size(), 20u);
    EXPECT_GT(correlations.size(), 20u);
    EXPECT_LE(*correlations.rbegin(), 100);
}

// ---- Configuration placement ----------------------------------------------------------

TEST_F(CTarsisGeneratorTest, PlacesTheConfigurationAsAsked) {
    struct SCase {
        EConfigPlacement placement;
        bool bBurst;
        std::vector<SFoundConfig> found;
        std::uint64_t nFirstData;
    };
    // Misplaced: after 8 data records, a system sample and 7 velocity samples (196 bytes), or
    // in burst mode a header, a system sample and 6 velocity samples (214 bytes).
    const SCase cases[] = {
        {EConfigPlacement::Standard, false, {{0x05, 0}, {0x04, 48}, {0x00, 272}}, 784},
        {EConfigPlacement::Missing, false, {}, 0},
        {EConfigPlacement::NoUser, false, {{0x05, 0}, {0x04, 48}}, 272},
        {EConfigPlacement::Misplaced, false, {{0x05, 196}, {0x04, 244}, {0x00, 468}}, 0},
        {EConfigPlacement::Misplaced, true, {{0x05, 214}, {0x04, 262}, {0x00, 486}}, 0},
    };
    for (const SCase& c : cases) {
        STarsisOptions options = c.bBurst ? Bursts(100, 50, "1.08") : Samples(100);
        options.configuration = c.placement;
        const Bytes bytes = Generate(options);
        const int nCase = static_cast<int>(&c - cases);
        EXPECT_EQ(FindConfiguration(bytes), c.found) << "case " << nCase;
        const std::vector<SWalked> records = Walk("synth.trs", 3);
        EXPECT_TRUE(m_damage.IsClean()) << "case " << nCase;
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(records.front().nOffset, c.nFirstData) << "case " << nCase;
        EXPECT_EQ(CountById(records)[RecordId::VelocitySample], 100) << "case " << nCase;
        EXPECT_EQ(m_summary.nConfigurationOffset.has_value(), !c.found.empty());
    }
}

TEST_F(CTarsisGeneratorTest, MisplacedConfigurationStaysWithinTheSearchedHeadOfTheFile) {
    STarsisOptions options = Samples(50);
    options.configuration = EConfigPlacement::Misplaced;
    options.nGarbageEvery = 1;
    options.nGarbageBytes = kMaxGarbageBytes;
    const Bytes bytes = Generate(options);
    const std::uint64_t nOffset = kSystem + 7 * kVelocity3 + 8 * kMaxGarbageBytes;
    EXPECT_EQ(
        FindConfiguration(bytes),
        (std::vector<SFoundConfig>{{0x05, nOffset}, {0x04, nOffset + 48}, {0x00, nOffset + 272}}));
    EXPECT_LE(nOffset + kConfig, 51200u);
}

TEST_F(CTarsisGeneratorTest, MisplacedConfigurationOfAShortRecordingFollowsItsData) {
    STarsisOptions options = Samples(3);
    options.configuration = EConfigPlacement::Misplaced;
    const Bytes bytes = Generate(options);
    EXPECT_EQ(bytes.size(), kSystem + 3 * kVelocity3 + kConfig);
    EXPECT_EQ(FindConfiguration(bytes).front(), (SFoundConfig{0x05, 100}));

    // The size keeps room for the block: 1024 - 784 leaves 240 bytes, which hold a system
    // sample and 3 velocity samples with 30 bytes of garbage after each (220 bytes).
    options = STarsisOptions();
    options.nSizeLimit = kMinSizeLimit;
    options.configuration = EConfigPlacement::Misplaced;
    options.nGarbageEvery = 1;
    options.nGarbageBytes = 30;
    const Bytes limited = Generate(options);
    EXPECT_EQ(limited.size(), 220 + kConfig);
    EXPECT_EQ(FindConfiguration(limited).front(), (SFoundConfig{0x05, 220}));
}

// ---- Damage ---------------------------------------------------------------------------

TEST_F(CTarsisGeneratorTest, GarbageFollowsEveryNthDataRecordAndHoldsNoSyncByte) {
    STarsisOptions options = Samples(100);
    options.nGarbageEvery = 10;
    options.nGarbageBytes = 5;
    const Bytes bytes = Generate(options);
    // 104 data records: garbage after records 10, 20, ..., 100.
    EXPECT_EQ(bytes.size(), kConfig + 4 * kSystem + 100 * kVelocity3 + 10 * 5);
    const std::vector<SWalked> records = Walk("synth.trs", 3);
    EXPECT_EQ(records.size(), 104u);
    EXPECT_EQ(m_damage.nSkippedBytes, 50u);
    EXPECT_EQ(m_damage.nSkippedSpans, 10u);
    EXPECT_EQ(m_damage.nChecksumErrors, 0u);
    for (std::size_t i = 10; i <= 100; i += 10) {
        const SWalked& before = records[i - 1];
        EXPECT_EQ(records[i].nOffset, before.nOffset + before.bytes.size() + 5);
    }
    EXPECT_EQ(m_summary.nGarbageRuns, 10u);
}

TEST_F(CTarsisGeneratorTest, WrongChecksumsInEveryNthDataRecord) {
    STarsisOptions options = Samples(100);
    options.nBadChecksumEvery = 25;
    const Bytes bytes = Generate(options);
    EXPECT_EQ(bytes.size(), kConfig + 4 * kSystem + 100 * kVelocity3);
    // Records 25, 50 and 75 are velocity samples, record 100 the fourth system sample.
    const std::vector<SWalked> records = Walk("synth.trs", 3);
    EXPECT_EQ(CountById(records), (std::map<std::uint8_t, int>{{RecordId::VelocitySample, 97},
                                                               {RecordId::SystemSample, 3}}));
    EXPECT_EQ(m_damage.nSkippedBytes, 3 * kVelocity3 + kSystem);
    EXPECT_EQ(m_damage.nSkippedSpans, 4u);
    // Sliding through a damaged record may try a sync byte inside it as well.
    EXPECT_GE(m_damage.nChecksumErrors, 4u);
    EXPECT_EQ(m_summary.nBadChecksums, 4u);
}

TEST_F(CTarsisGeneratorTest, TruncationCutsTheLastRecordShort) {
    STarsisOptions options = Samples(100);
    options.nTruncateBytes = 10;
    const Bytes bytes = Generate(options);
    EXPECT_EQ(bytes.size(), kConfig + 4 * kSystem + 100 * kVelocity3 - 10);
    const std::vector<SWalked> records = Walk("synth.trs", 3);
    EXPECT_EQ(CountById(records)[RecordId::VelocitySample], 99);
    EXPECT_EQ(m_damage.nSkippedBytes, kVelocity3 - 10);
    EXPECT_EQ(m_damage.nSkippedSpans, 1u);

    options.nSamples = 1;
    options.nTruncateBytes = kConfig + kSystem + kVelocity3 + 1;
    EXPECT_TRUE(Generate(options).empty());
}

// ---- Size and determinism ---------------------------------------------------------------

TEST_F(CTarsisGeneratorTest, FillsTheSizeWithWholeRecords) {
    STarsisOptions options;
    options.nSizeLimit = 4096;
    // 784 + 4 s of 796 bytes = 3968; a system sample (3996) and 4 velocity samples (4092).
    EXPECT_EQ(Generate(options).size(), 4092u);
    EXPECT_EQ(m_summary.nVelocitySamples, 132u);
    EXPECT_EQ(m_summary.nSystemSamples, 5u);

    options.nTruncateBytes = 100;
    EXPECT_EQ(Generate(options).size(), 3992u);
}

TEST_F(CTarsisGeneratorTest, TheSizeHoldsTheConfigurationWhereverItGoes) {
    struct SCase {
        EConfigPlacement placement;
        std::size_t nSize;
    };
    const SCase cases[] = {
        {EConfigPlacement::Standard, 4092},
        {EConfigPlacement::Misplaced, 4092},
        // 5 s of 796 bytes = 3980; a system sample and 3 velocity samples.
        {EConfigPlacement::Missing, 4080},
        // 272 + 4 s = 3456; a system sample and 25 velocity samples.
        {EConfigPlacement::NoUser, 4084},
    };
    for (const SCase& c : cases) {
        STarsisOptions options;
        options.nSizeLimit = 4096;
        options.configuration = c.placement;
        EXPECT_EQ(Generate(options).size(), c.nSize) << static_cast<int>(c.placement);
    }
}

TEST_F(CTarsisGeneratorTest, StreamsMegabytesAcrossChunksWithoutLosingARecord) {
    STarsisOptions options;
    options.nSizeLimit = 3 * 1024 * 1024;
    // 784 + 3950 s of 796 bytes = 3144984; a system sample and 29 velocity samples leave 20.
    const Bytes full = Generate(options, "full.trs");
    EXPECT_EQ(full.size(), options.nSizeLimit - 20);
    const std::vector<SWalked> records = Walk("full.trs", 3);
    EXPECT_TRUE(m_damage.IsClean());
    EXPECT_EQ(CountById(records),
              (std::map<std::uint8_t, int>{{RecordId::VelocitySample, 3950 * 32 + 29},
                                           {RecordId::SystemSample, 3951}}));

    options.nTruncateBytes = 1000;
    const Bytes truncated = Generate(options, "truncated.trs");
    ASSERT_EQ(truncated.size(), full.size() - 1000);
    EXPECT_TRUE(std::equal(truncated.begin(), truncated.end(), full.begin()));
}

TEST_F(CTarsisGeneratorTest, ASeedNamesOneRecording) {
    STarsisOptions options = Samples(200);
    options.nSeed = 42;
    const Bytes first = Generate(options, "a.trs");
    CTarsisGenerator generator(options);
    generator.Write(m_dir.Path("b.trs"));
    generator.Write(m_dir.Path("c.trs"));
    EXPECT_EQ(test::ReadFileBytes(m_dir.Path("b.trs")), first);
    EXPECT_EQ(test::ReadFileBytes(m_dir.Path("c.trs")), first);
    options.nSeed = 43;
    const Bytes other = Generate(options, "d.trs");
    ASSERT_EQ(other.size(), first.size());
    EXPECT_NE(other, first);
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + kConfig, other.begin()));
}

TEST_F(CTarsisGeneratorTest, RefusesUnusableOptions) {
    STarsisOptions options;
    options.nBeams = 4;
    EXPECT_THROW(CTarsisGenerator{options}, std::invalid_argument);
}

TEST_F(CTarsisGeneratorTest, AFolderThatDoesNotExistIsAFileError) {
    EXPECT_THROW(CTarsisGenerator(Samples(1)).Write(m_dir.Path("none/x.trs")), FileError);
}

}  // namespace
}  // namespace sulvan::synth
