#include "convert/ConvertToWpr.hpp"

#include <algorithm>
#include <filesystem>
#include <set>

#include "ConvertTestSupport.hpp"
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
        SFileOutcome opened;
        EXPECT_EQ(reader.Open(strInput, true, &m_ui, opened), 1);
        m_result = m_options;
        const SFileOutcome outcome = ConvertToWpr(m_ui, reader, m_dir.Path("run1.wpr"), m_result);
        m_ui.ReportOutcome(outcome);
        EXPECT_EQ(!outcome.IsFailed(), bConverted);
        return ReadFileBytes(m_dir.Path("run1.wpr"));
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    SWprOptions m_options;
    SWprOptions m_result;
};

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
        SFileOutcome opened;
        ASSERT_EQ(reader.Open(strName, true, &m_ui, opened), 1);
        const SFileOutcome outcome = ConvertToWpr(m_ui, reader, c.strOutput, m_options);
        m_ui.ReportOutcome(outcome);
        EXPECT_TRUE(outcome.IsFailed());
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
