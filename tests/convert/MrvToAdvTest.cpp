#include "convert/MrvToAdv.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "ConvertTestSupport.hpp"
#include "CorvaneBuilder.hpp"
#include "Golden.hpp"
#include "convert/AdvLayout.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

constexpr std::size_t kHeaderSize = 300;
constexpr std::size_t kBlockSize = 254;
const std::uint64_t kStart = FileTimeOf(2010, 5, 17, 13, 45, 30, 250);

// Probe p's sample n carries n in its first velocity and p in its second, so that every slot of
// the output tells which sample it holds.
Bytes Sample(int nProbe, int n) {
    SProbeSample sample;
    sample.velocities = {static_cast<std::int16_t>(n), static_cast<std::int16_t>(nProbe), 5};
    sample.amplitudes = {static_cast<std::uint8_t>(n), 20, 30};
    sample.correlations = {40, 50, static_cast<std::uint8_t>(nProbe)};
    return ProbeVelocityRecord(sample);
}

// A recording from a script of chunks: "p:n" probe p's velocity sample n, "p:x81" and
// "p:x91" a record that takes a number, "tm" a time mark (0x0F), "late" a chunk stamped after
// 2999, "early" probe 0's next sample stamped before 1900.
Bytes Recording(std::size_t nProbes, const std::vector<std::string>& script) {
    std::vector<std::string> serials;
    for (std::size_t p = 0; p < nProbes; ++p) {
        serials.push_back("MRV-00000" + std::to_string(p));
    }
    Bytes image = CorvaneHeader(MiraveloXml(serials), kStart);
    const std::uint64_t nNow = kStart + 10000000;
    for (const std::string& strStep : script) {
        Bytes chunk;
        if (strStep == "tm") {
            chunk = CorvaneChunk(0, nNow, Bytes{0x0F, 1, 2, 3});
        } else if (strStep == "late") {
            chunk = CorvaneChunk(0, FileTimeOf(3001, 1, 1, 0, 0, 0), Sample(0, 999));
        } else if (strStep == "early") {
            chunk = CorvaneChunk(0, FileTimeOf(1899, 1, 1, 0, 0, 0), Sample(0, 998));
        } else {
            const auto nColon = strStep.find(':');
            const auto nProbe = static_cast<std::uint16_t>(std::stoi(strStep.substr(0, nColon)));
            const std::string strWhat = strStep.substr(nColon + 1);
            chunk = strWhat[0] == 'x'
                        ? CorvaneChunk(nProbe, nNow,
                                       Bytes{0xA5,
                                             static_cast<std::uint8_t>(
                                                 std::stoi(strWhat.substr(1), nullptr, 16)),
                                             0, 0})
                        : CorvaneChunk(nProbe, nNow, Sample(nProbe, std::stoi(strWhat)));
        }
        image.insert(image.end(), chunk.begin(), chunk.end());
    }
    return image;
}

class MrvToAdvTest : public ::testing::Test {
  protected:
    // Converts, and shows the outcome as the dialog does; true when it did not fail.
    bool Convert(const Bytes& image) {
        m_strInput = m_dir.Write("run.mrv", image);
        m_outcome =
            MrvToAdv(m_ui, m_strInput, m_strOutput, [&](int n) { m_progress.push_back(n); });
        m_ui.ReportOutcome(m_outcome);
        return !m_outcome.IsFailed();
    }

    // Which sample each probe's slot of each record holds, "1,1 2,2 ...", and the trailers.
    std::string Records(std::size_t nProbes) const {
        const Bytes adv = ReadFileBytes(m_strOutput);
        const std::size_t nRecord = 18 * nProbes + 2;
        std::string strRecords;
        for (std::size_t at = kHeaderSize + nProbes * kBlockSize; at + nRecord <= adv.size();
             at += nRecord) {
            strRecords += strRecords.empty() ? "" : " ";
            for (std::size_t p = 0; p < nProbes; ++p) {
                if (p != 0) {
                    strRecords += ',';
                }
                strRecords += std::to_string(
                    static_cast<int>(std::lround(ReadF32Le(&adv[at + 18 * p]) / 0.001)));
            }
            const std::uint16_t nTrailer = ReadU16Le(&adv[at + 18 * nProbes]);
            strRecords += nTrailer == 0 ? "" : "#" + std::to_string(nTrailer);
        }
        return strRecords;
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    std::string m_strInput;
    std::string m_strOutput = m_dir.Path("run.adv");
    std::vector<int> m_progress;
    SFileOutcome m_outcome;
};

// A probe lagging more than the alignment window: its slots are padding by the time a record
// is written, and its own samples for written numbers come too late to count.
TEST_F(MrvToAdvTest, AProbeLaggingBeyondTheWindowIsPaddedAndItsLateSamplesDropped) {
    std::vector<std::string> script;
    for (int n = 1; n <= 30; ++n) {
        script.push_back("0:" + std::to_string(n));
        if (n > 12) {
            script.push_back("1:" + std::to_string(n - 12));
        }
        if (n % 7 == 0) {
            script.push_back("tm");
        }
    }
    ASSERT_TRUE(Convert(Recording(2, script)));
    // Time marks follow probe 0's samples 7, 14, 21 and 28; record k is written with probe 0's
    // sample k + 10, the last ten at the end.
    std::string strExpected;
    for (int k = 1; k <= 30; ++k) {
        const int nMarks = k <= 4 ? 1 : k <= 11 ? 2 : k <= 18 ? 3 : 4;
        strExpected += (k == 1 ? "" : " ") + std::to_string(k) + ",0#" + std::to_string(nMarks);
    }
    EXPECT_EQ(Records(2), strExpected);
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{"Total samples:\t60\r\rMissing probe "
                                                        "1:\t30\r\r\rNote: Missing data points\r"
                                                        "are padded with the previous value."});
    EXPECT_TRUE(MatchesGolden(ReadFileBytes(m_strOutput), "mrv/lagging-probe.adv"));
    ASSERT_EQ(m_outcome.written.size(), 1u);
    EXPECT_EQ(m_outcome.written[0].nDataRecords, 30u);
}

TEST_F(MrvToAdvTest, RecordingsThatCannotBeConvertedSayWhy) {
    const std::string strInvalid = "Invalid file or conversion.\r\r";
    Bytes noProbes = CorvaneHeader(MiraveloXml({}), kStart);
    const Bytes chunk = CorvaneChunk(0, kStart, Sample(0, 1));
    noProbes.insert(noProbes.end(), chunk.begin(), chunk.end());
    struct SCase {
        Bytes input;
        std::string strMessage;   // after the input path when it starts with strInvalid
        std::size_t nOutputSize;  // 0: no output
    };
    const SCase cases[] = {
        {CorvaneHeader(MiraveloXml({"MRV-000001"}), kStart, std::string("Sulvan Miravel\0", 15)),
         strInvalid, 0},
        {CorvaneHeader("<MIRAVELO type=\"Sulvan Miravelo\"><PROBE></MIRAVELO>", kStart),
         strInvalid + "|\rEnding tag of 'MIRAVELO' found but 'PROBE' expected", 0},
        {CorvaneHeader("<MIRAVELO type=\"other\"/>", kStart),
         strInvalid + "|\rType of configuration file is unknown", 0},
        // Only time marks: the blocks are written, and nothing else is said.
        {Recording(1, {"tm", "tm"}), "", kHeaderSize + kBlockSize},
        {noProbes,
         "|\r\rThe recording's configuration names no probe: there is nothing to convert.",
         kHeaderSize},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.strMessage);
        m_ui = {};
        std::filesystem::remove(m_strOutput);
        EXPECT_FALSE(Convert(c.input));
        std::string strExpected = c.strMessage;
        if (const auto nBar = strExpected.find('|'); nBar != std::string::npos) {
            strExpected.replace(nBar, 1,
                                strExpected.starts_with(strInvalid) ? m_strInput : m_strOutput);
        } else if (!strExpected.empty()) {
            strExpected += m_strInput;
        }
        EXPECT_EQ(m_ui.Messages(), strExpected.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{strExpected});
        EXPECT_EQ(std::filesystem::exists(m_strOutput) ? ReadFileBytes(m_strOutput).size() : 0,
                  c.nOutputSize);
    }
}

TEST_F(MrvToAdvTest, AnExistingOutputIsKeptOnNoAndAFailedWriteIsReported) {
    const Bytes kept = {1, 2, 3};
    WriteFileBytes(m_strOutput, kept);
    m_ui.Answer(false);
    EXPECT_TRUE(Convert(Recording(1, {"0:1"})));
    EXPECT_EQ(m_outcome.fate, EFileFate::Declined);
    EXPECT_EQ(m_outcome.strKept, m_strOutput);
    EXPECT_EQ(ReadFileBytes(m_strOutput), kept);
    EXPECT_EQ(m_ui.Questions(), std::vector<std::string>{
                                    m_strOutput + " already exists.\rDo you want to replace it?"});

    m_strOutput = "/dev/full";
    m_ui = {};
    m_ui.Answer(true);
    EXPECT_FALSE(Convert(Recording(1, {"0:1"})));
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{"/dev/full\rNo space left on device\r\r"
                                                        "The output file is incomplete."});
    EXPECT_TRUE(std::is_sorted(m_progress.begin(), m_progress.end()) &&
                std::adjacent_find(m_progress.begin(), m_progress.end()) == m_progress.end());
}

}  // namespace
}  // namespace sulvan
