#include "convert/ConvertToWpr.hpp"

#include <algorithm>
#include <filesystem>
#include <set>

#include "ConvertTestSupport.hpp"
#include "Golden.hpp"
#include "config/ConfigFields.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// A Pelora record whose values all derive from its number n, so that every output record
// shows which input record it came from.
SPeloraSample PeloraSample(int n, int nBeams = 3) {
    SPeloraSample sample;
    sample.clock = MakeClock(2008, 1, 1, 12, n / 60, n % 60);
    sample.nAnalog1 = static_cast<std::uint16_t>(1000 + n);
    sample.nBattery = static_cast<std::uint16_t>(120 + n);
    sample.nSoundSpeed = static_cast<std::uint16_t>(15000 + n);
    sample.nHeading = static_cast<std::int16_t>(900 + n);
    sample.nPressure = 0x30000u + static_cast<std::uint32_t>(n);
    sample.nTemperature = static_cast<std::int16_t>(-n);
    for (int b = 0; b < nBeams; ++b) {
        sample.velocities.push_back(static_cast<std::int16_t>((b + 1) * n));
        sample.amplitudes.push_back(static_cast<std::uint8_t>(100 + 10 * b + n));
    }
    return sample;
}

struct SPeloraInput {
    bool bWaveMode = false;
    std::vector<std::pair<std::uint8_t, int>> runs;  // identifier, count
    std::set<int> damaged;                           // record numbers with a wrong checksum
    int nBeams = 3;
};

// Serials fill their fields, so that what a rewritten serial keeps shows.
Bytes PeloraRecording(const SPeloraInput& input) {
    SHeadOptions head;
    head.strSerial = "PLD 2001ABCD";
    head.nBeams = input.nBeams;
    SUserOptions user;
    user.nBeams = input.nBeams;
    user.nModeWord = input.bWaveMode ? 1u << UserField::ModeBit1 : 0u;
    CRecordingBuilder recording;
    recording.Add(HardwareConfig("PLD 1001XYZWVU", "3.30"))
        .Add(HeadConfig(head))
        .Add(UserConfig(user).U16(UserField::Word4, 44).U16(6, 606).U16(8, 808));
    int n = 1;
    for (const auto& [nId, nCount] : input.runs) {
        for (int i = 0; i < nCount; ++i, ++n) {
            recording.Add(PeloraRecord(nId, PeloraSample(n, input.nBeams))
                              .CorruptChecksum(input.damaged.contains(n)));
        }
    }
    return recording.Image();
}

// Two bursts of four samples, each opened by a velocity sample header after a system sample.
Bytes TarsisBurstRecording() {
    SUserOptions user;
    user.nBurstSamples = 4;
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration("TRS 1001", "1.08", {}, user));
    for (int nBurst = 0; nBurst < 2; ++nBurst) {
        SSystemSample system;
        system.nTemperature = static_cast<std::int16_t>(1000 + nBurst);
        recording.Add(SystemSample(system));
        recording.Add(VelocityHeader(MakeClock(2008, 1, 1, 12, nBurst, 0), 4).U32(12, 0x04030201));
        for (int i = 0; i < 4; ++i) {
            SVelocitySample sample;
            sample.velocities = {static_cast<std::int16_t>(i), -7, 9};
            sample.nPressure = static_cast<std::uint16_t>(500 + i);
            sample.nAnalog1 = static_cast<std::uint16_t>(40 + i);
            recording.Add(VelocitySample(sample));
        }
    }
    return recording.Image();
}

// The records after the configuration block as runs: "P" a current profile, "H<n>" a wave
// burst header announcing n samples, "<k>S" k wave samples.
std::string Structure(const Bytes& wpr) {
    std::string strRuns;
    std::size_t nSamples = 0;
    for (std::size_t p = 784; p + 4 <= wpr.size(); p += 2 * std::size_t{ReadU16Le(&wpr[p + 2])}) {
        if (wpr[p + 1] == RecordId::WaveSample) {
            ++nSamples;
            continue;
        }
        if (nSamples > 0) {
            strRuns += std::to_string(nSamples) + "S ";
            nSamples = 0;
        }
        strRuns += wpr[p + 1] == RecordId::CurrentProfile
                       ? std::string("P ")
                       : "H" + std::to_string(ReadU16Le(&wpr[p + 10])) + " ";
    }
    return nSamples > 0 ? strRuns + std::to_string(nSamples) + "S"
                        : strRuns.substr(0, strRuns.size() - 1);
}

class ConvertToWprTest : public ::testing::Test {
  protected:
    // Opens the image as the batch driver does and converts it with m_options; every case gets
    // a reader of its own. The window the conversion hands back lands in m_result.
    Bytes Convert(const Bytes& image, const std::string& strInputName = "run1.pld",
                  bool bConverted = true) {
        std::string strInput = m_dir.Write(strInputName, image);
        CInsFile reader;
        EXPECT_EQ(reader.Open(strInput, true, &m_ui), 1);
        m_result = m_options;
        EXPECT_EQ(ConvertToWpr(m_ui, reader, m_dir.Path("run1.wpr"), m_result), bConverted);
        return ReadFileBytes(m_dir.Path("run1.wpr"));
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    SWprOptions m_options;
    SWprOptions m_result;
};

// Which records open bursts, as runs of output records; where a golden file is named, the bytes
// too. Golden cases announce bursts of 8 samples to keep the files small.
TEST_F(ConvertToWprTest, BurstsOpenAsTheWaveModeSaysAndOutputsMatchTheirGoldenFiles) {
    const std::uint8_t kVelocity = RecordId::SinglePointVelocity;
    const std::uint8_t kWave = RecordId::PeloraWaveSample;
    const SPeloraInput lossy = {true, {{kVelocity, 1}, {kWave, 10}}, {6}};
    struct SCase {
        const char* pGolden;  // null: the structure only
        Bytes input;
        std::uint16_t nWaveSamples;
        bool bChecksumControl;
        const char* pStructure;
    };
    const SCase cases[] = {
        {nullptr, PeloraRecording({false, {{kVelocity, 1}, {kWave, 1023}}, {}}), 1024, true,
         "P H1024 1023S"},
        {nullptr, PeloraRecording({true, {{kVelocity, 1}, {kWave, 1024}}, {}}), 1024, true,
         "P H1022 1022S H1022"},
        {nullptr, PeloraRecording({false, {{kVelocity, 3}}, {}}), 1024, true,
         "P H1024 P H1024 P H1024"},
        {nullptr,
         PeloraRecording(
             {true, {{RecordId::PeloraExtended, 1}, {kWave, 3}, {kVelocity, 1}, {kWave, 2}}, {}}),
         1024, true, "P H1022 2S P H1022 1S"},
        {"pelora-wave-off", PeloraRecording({false, {{kVelocity, 1}, {kWave, 9}}, {}}), 8, true,
         "P H8 8S H6"},
        // The sixth wave sample is lost: the next burst opens one sample later.
        {"pelora-lost-sample", PeloraRecording(lossy), 8, true, "P H6 6S H6 1S"},
        {"pelora-checksum-off", PeloraRecording(lossy), 8, false, "P H6 6S H6 2S"},
        {"pelora-two-beams", PeloraRecording({false, {{kVelocity, 1}, {kWave, 3}}, {}, 2}), 8, true,
         "P H8 3S"},
        {"tarsis-burst", TarsisBurstRecording(), 8, true, "P H4 4S P H4 4S"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pStructure);
        m_options.nWaveSamples = c.nWaveSamples;
        m_options.bChecksumControl = c.bChecksumControl;
        const bool bTarsis = c.input[4] == 'T';  // the hardware serial
        const Bytes wpr = Convert(c.input, bTarsis ? "run1.trs" : "run1.pld");
        EXPECT_EQ(Structure(wpr), c.pStructure);
        if (c.pGolden != nullptr) {
            EXPECT_TRUE(MatchesGolden(wpr, std::string("wpr/") + c.pGolden + ".wpr"));
        }
    }
    EXPECT_TRUE(m_ui.Events().empty());
}

// The golden files' records, field by field from the layout tables.
TEST_F(ConvertToWprTest, RecordsCarryTheirSourcesFieldsAtTheirOffsets) {
    m_options.nWaveSamples = 8;
    Bytes wpr = Convert(PeloraRecording(
        {false, {{RecordId::SinglePointVelocity, 1}, {RecordId::PeloraWaveSample, 1}}, {}}));
    const Bytes source = PeloraRecord(RecordId::SinglePointVelocity, PeloraSample(1)).Build();
    const auto u16 = [&](std::size_t nOffset) { return ReadU16Le(&wpr[nOffset]); };
    const auto i16 = [&](std::size_t nOffset) { return ReadI16Le(&wpr[nOffset]); };
    // Profile of 130 bytes at 784: the source's first 32 bytes, beams at 118, amplitudes at 124.
    EXPECT_EQ((Bytes{wpr[784], wpr[785], wpr[786], wpr[787]}), (Bytes{0xA5, 0x20, 65, 0}));
    EXPECT_TRUE(std::equal(&wpr[788], &wpr[816], &source[4]));
    EXPECT_EQ((std::vector<int>{i16(784 + 118), i16(784 + 120), i16(784 + 122), wpr[784 + 124],
                                wpr[784 + 125], wpr[784 + 126]}),
              (std::vector<int>{1, 2, 3, 101, 111, 121}));
    // Burst header of 60 bytes at 914.
    EXPECT_TRUE(std::equal(&wpr[918], &wpr[924], &source[4]));
    EXPECT_EQ(
        (std::vector<int>{u16(914 + 10), u16(914 + 12), u16(914 + 14), u16(914 + 16), i16(914 + 18),
                          i16(914 + 20), i16(914 + 22), i16(914 + 28), u16(914 + 30)}),
        (std::vector<int>{8, 606, 121, 15001, 901, -15, 25, -1, 808}));
    // Wave sample of 24 bytes at 974, from the second record.
    EXPECT_EQ(
        (std::vector<int>{u16(974 + 4), u16(974 + 6), u16(974 + 8), i16(974 + 10), i16(974 + 12),
                          i16(974 + 14), wpr[974 + 18], wpr[974 + 19], wpr[974 + 20]}),
        (std::vector<int>{2, 0, 1002, 2, 4, 6, 102, 112, 122}));
    for (const auto& [nOffset, nSize] : {std::pair{784, 130}, {914, 60}, {974, 24}}) {
        EXPECT_TRUE(IsRecordIntact(std::span(&wpr[nOffset], nSize))) << nOffset;
    }

    wpr = Convert(TarsisBurstRecording(), "run1.trs");
    const Bytes header =
        VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0), 4).U32(12, 0x04030201).Build();
    EXPECT_TRUE(std::equal(&wpr[788], &wpr[816], &header[4]));
    EXPECT_EQ(std::count(&wpr[784 + 32], &wpr[784 + 128], 0), 96);
    EXPECT_EQ((std::vector<int>{u16(914 + 10), u16(914 + 12), u16(914 + 14), u16(914 + 16),
                                i16(914 + 18), i16(914 + 20), i16(914 + 22), i16(914 + 28),
                                u16(914 + 30), wpr[914 + 32], wpr[914 + 35]}),
              (std::vector<int>{4, 0, 120, 15000, 900, -15, 25, 1000, 0, 1, 4}));
    EXPECT_EQ((std::vector<int>{u16(974 + 4), u16(974 + 8), i16(974 + 10), i16(974 + 12),
                                i16(974 + 14), wpr[974 + 18], wpr[974 + 20]}),
              (std::vector<int>{500, 40, 0, -7, 9, 110, 130}));
}

TEST_F(ConvertToWprTest, TheConfigurationDescribesAWaveRecordingAndTheReaderKeepsIt) {
    const Bytes input = PeloraRecording({false, {{RecordId::SinglePointVelocity, 1}}, {}});
    std::string strInput = m_dir.Write("run1.pld", input);
    CInsFile reader;
    ASSERT_EQ(reader.Open(strInput, true, &m_ui), 1);
    const std::uint16_t nCellSize = reader.Config().CellSizeToRaw(0.75);
    ASSERT_TRUE(ConvertToWpr(m_ui, reader, m_dir.Path("run1.wpr"), m_options));

    Bytes expected(input.begin(), input.begin() + 784);
    std::copy_n("WPR 0000", 9, &expected[4]);
    std::copy_n("WAV 0000", 9, &expected[48 + 10]);
    for (const auto& [nOffset, nValue] : {std::pair{62, 1024}, {446, 1024}, {436, 1}, {440, 44}}) {
        PutU16(expected, 272 + nOffset, static_cast<std::uint16_t>(nValue));
    }
    PutU16(expected, 272 + 36, nCellSize);
    for (const auto& [nOffset, nSize] : {std::pair{0, 48}, {48, 224}, {272, 512}}) {
        SealRecord(std::span(&expected[nOffset], nSize));
    }
    const Bytes wpr = ReadFileBytes(m_dir.Path("run1.wpr"));
    EXPECT_EQ(Bytes(wpr.begin(), wpr.begin() + 784), expected);
    EXPECT_EQ(reader.Conf().GetHardwareSerial(), "WPR 0000");
    EXPECT_EQ(reader.Conf().GetUserWord(UserField::WaveSamples), 1024);
    EXPECT_EQ(reader.Config().m_nType, Family::Kestra);
}

TEST_F(ConvertToWprTest, ATimeWindowSkipsTheRecordsBeforeItAndStopsAfterIt) {
    const Bytes input = PeloraRecording({false, {{RecordId::SinglePointVelocity, 6}}, {}});
    const auto timeOf = [](int n) {
        return SDateTimeWithStatus{*DecodeClock(PeloraSample(n).clock.data()),
                                   SDateTimeWithStatus::kValid};
    };
    m_options.windowStart = timeOf(2);
    m_options.windowEnd = timeOf(4);
    EXPECT_EQ(Structure(Convert(input)), "P H1024 P H1024 P H1024");
    EXPECT_DOUBLE_EQ(m_result.windowStart.dValue, timeOf(2).dValue);
    EXPECT_DOUBLE_EQ(m_result.windowEnd.dValue, timeOf(4).dValue);

    // Without limits the window receives the first and the last record converted.
    m_options = SWprOptions{};
    Convert(input);
    EXPECT_TRUE(m_result.windowStart.IsValid() && m_result.windowEnd.IsValid());
    EXPECT_DOUBLE_EQ(m_result.windowStart.dValue, timeOf(1).dValue);
    EXPECT_DOUBLE_EQ(m_result.windowEnd.dValue, timeOf(6).dValue);
}

TEST_F(ConvertToWprTest, ProgressIsToldOnlyWhenThePercentageChanges) {
    std::vector<int> steps;
    m_options.progress = [&](int nPercent) { steps.push_back(nPercent); };
    const Bytes input = PeloraRecording(
        {false, {{RecordId::SinglePointVelocity, 1}, {RecordId::PeloraWaveSample, 1200}}, {}});
    Convert(input);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), static_cast<int>(784 * 100 / input.size()));
    EXPECT_EQ(steps.back(), 100);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()) &&
                std::adjacent_find(steps.begin(), steps.end()) == steps.end());
}

TEST_F(ConvertToWprTest, FailuresAreShownByTheirCause) {
    // No valid user configuration (the repair declined): an empty output is left.
    m_ui.Answer(false);
    const Bytes noUser = CRecordingBuilder()
                             .Add(HardwareConfig("PLD 1001"))
                             .Add(HeadConfig())
                             .Add(PeloraRecord(RecordId::SinglePointVelocity, PeloraSample(1)))
                             .Image();
    EXPECT_TRUE(Convert(noUser, "run1.pld", false).empty());
    EXPECT_EQ(m_ui.Messages().back(), m_dir.Path("run1.wpr") + "\rInvalid file.");

    const std::string strInput = m_dir.Write("run2.pld", PeloraRecording({}));
    std::filesystem::create_symlink(strInput, m_dir.Path("alias.wpr"));
    struct SCase {
        std::string strOutput;
        std::string strMessage;
    };
    const SCase cases[] = {
        {m_dir.Path("missing/run2.wpr"), m_dir.Path("missing/run2.wpr") + "\rFile not found."},
        {m_dir.Path("alias.wpr"), m_dir.Path("alias.wpr") +
                                      "\r\rThe output would replace the input file.\r"
                                      "The file was not converted."},
    };
    for (const SCase& c : cases) {
        std::string strName = strInput;
        CInsFile reader;
        ASSERT_EQ(reader.Open(strName, true, &m_ui), 1);
        EXPECT_FALSE(ConvertToWpr(m_ui, reader, c.strOutput, m_options));
        EXPECT_EQ(m_ui.Messages().back(), c.strMessage);
    }
    EXPECT_EQ(ReadFileBytes(strInput), PeloraRecording({}));
}

// A damaged user configuration can hold a cell count below 0: the profiles are sized for none
// and never written past their end.
TEST_F(ConvertToWprTest, ACellCountBelowZeroGivesProfilesWithoutArrays) {
    Bytes input = PeloraRecording({false, {{RecordId::SinglePointVelocity, 1}}, {}});
    PutU16(input, 272 + UserField::Cells, 0xFF00);
    SealRecord(std::span(&input[272], 512));
    const Bytes wpr = Convert(input);
    EXPECT_EQ(Structure(wpr), "P H1024");
    EXPECT_EQ(ReadU16Le(&wpr[784 + 2]), 60);  // 120 bytes
}

}  // namespace
}  // namespace sulvan
