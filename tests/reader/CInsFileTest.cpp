#include "reader/CInsFile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include "ReaderTestSupport.hpp"
#include "config/ConfigFields.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

const std::string kRepairOffer =
    "\r\rPress OK to create a repaired copy."
    "\rThe original file will not be changed."
    "\r\rNote that default settings are used"
    "\rif the configuration data recovery fails."
    "\r(i.e., the converted header may not agree"
    "\rwith the deployment configuration.)";
const std::string kRawDumpNote =
    "\r\rNote that if the file is a raw recorder dump"
    "\rthe configuration (if) found may not belong to"
    "\rthe converted data.";

using CInsFileTest = ReaderTest;

TEST_F(CInsFileTest, MissingEmptyAndUnreadableFilesFailByTheNameAsPassed) {
    std::string strMissing = m_dir.Path("missing.trs");
    EXPECT_EQ(m_reader.Open(strMissing, true, &m_ui, m_outcome), 0);
    EXPECT_EQ(Open("empty.trs", Bytes{}), 0);
    EXPECT_EQ(Open("run1.xyz", TarsisRecording()), 0);
    // A folder says why, not that nothing is there.
    std::string strFolder = m_dir.Path("folder.trs");
    ASSERT_EQ(::mkdir(strFolder.c_str(), 0755), 0);
    EXPECT_EQ(m_reader.Open(strFolder, true, &m_ui, m_outcome), 0);
    EXPECT_EQ(OutcomeTexts(),
              (std::vector<std::string>{
                  strMissing + "\rFile not found. | File not found.",
                  m_dir.Path("empty.trs") + "\rInvalid file type. | Invalid file type.",
                  m_dir.Path("run1.xyz") + "\rInvalid file type. | Invalid file type.",
                  strFolder + "\rIs a directory | Is a directory",
              }));
    EXPECT_TRUE(m_outcome.IsFailed());
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(CInsFileTest, WrongUserChecksumCountsOnlyWithChecksumControl) {
    Bytes image = TarsisRecording();
    image[272 + 100] ^= 0x01;  // inside the user configuration
    m_ui.Answer(false);
    ASSERT_EQ(Open("run1.trs", image, true), 1);
    EXPECT_FALSE(m_reader.IsUserValid());
    EXPECT_EQ(m_ui.Questions(),
              std::vector<std::string>{"run1.trs\rInvalid or missing user configuration." +
                                       kRepairOffer});
    EXPECT_EQ(m_reader.File().GetPosition(), 272u);  // after the two valid records

    CInsFile reader;
    CScriptedUserInterface ui;
    SFileOutcome outcome;
    std::string strName = m_dir.Write("run2.trs", image);
    ASSERT_EQ(reader.Open(strName, false, &ui, outcome), 1);
    EXPECT_TRUE(ui.Events().empty());
    EXPECT_TRUE(reader.IsUserValid());
    EXPECT_EQ(reader.File().GetPosition(), 784u);
}

TEST_F(CInsFileTest, ConfigurationFoundElsewhereMarksARawDumpThatStartsAtZero) {
    const Bytes image = CRecordingBuilder()
                            .Add(VelocitySample())
                            .Add(SystemSample())
                            .Add(StandardConfiguration())
                            .Add(VelocitySample())
                            .Image();
    m_ui.Answer(false);
    ASSERT_EQ(Open("dump.trs", image), 1);
    EXPECT_TRUE(m_reader.IsHardwareValid() && m_reader.IsHeadValid() && m_reader.IsUserValid());
    EXPECT_TRUE(m_reader.IsRawDump());
    EXPECT_EQ(m_ui.Questions(), std::vector<std::string>{"dump.trs" + kRawDumpNote + kRepairOffer});
    // The samples in front of the configuration are not skipped.
    EXPECT_EQ(m_reader.File().GetPosition(), 0u);
}

TEST_F(CInsFileTest, ProfileCellsThatContradictTheUserConfigurationInvalidateIt) {
    SUserOptions user;
    user.nCells = 20;
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, user))
                            .Add(ProfileRecord(0x21, 3, 21, MakeClock(2008, 1, 1, 12, 0, 0)))
                            .Image();
    m_ui.Answer(false);
    ASSERT_EQ(Open("run1.trs", image), 1);
    EXPECT_FALSE(m_reader.IsUserValid());
    EXPECT_EQ(m_ui.Questions(),
              std::vector<std::string>{"run1.trs\rInvalid or missing user configuration." +
                                       kRepairOffer});
    // Cancel writes the learnt counts into the configuration the decode then reads.
    EXPECT_EQ(m_reader.Conf().GetUserCells(), 21);
    EXPECT_EQ(m_reader.Geometry().nCells, 21);
}

TEST_F(CInsFileTest, FirstAndLastTimesComeFromTheHeadAndTheTail) {
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration());
    recording.Add(SystemSample({MakeClock(2008, 1, 1, 12, 0, 5)}));
    recording.Add(VelocitySample().CorruptChecksum());
    recording.Garbage(2 * CInsFile::kSearchSize);
    recording.Add(SystemSample({MakeClock(2008, 1, 2, 6, 30, 0)}));
    // A damaged stamp after the last intact one is passed over.
    recording.Add(SystemSample({MakeClock(2008, 1, 2, 7, 0, 0)}).CorruptChecksum());
    recording.Add(VelocitySample());
    ASSERT_EQ(Open("run1.trs", recording.Image()), 1);
    EXPECT_NEAR(m_reader.GetFirstTime(), 39448.5 + 5.0 / 86400.0, 1e-9);
    EXPECT_NEAR(m_reader.GetLastTime(), 39449.0 + 6.5 / 24.0, 1e-9);
}

TEST_F(CInsFileTest, ATimeMarkDatesTheFileWithoutAnyCheck) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(CRecordBuilder(RecordId::TimeMark, 12)
                                     .Clock(MakeClock(2010, 5, 17, 13, 45, 30))
                                     .CorruptChecksum())
                            .Add(SystemSample())
                            .Image();
    ASSERT_EQ(Open("run1.trs", image), 1);
    EXPECT_NEAR(m_reader.GetFirstTime(), 40315.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0, 1e-9);
}

TEST_F(CInsFileTest, AnInvalidClockGivesTimeZero) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(SystemSample({MakeClock(2008, 13, 1, 0, 0, 0)}))
                            .Image();
    ASSERT_EQ(Open("run1.trs", image), 1);
    EXPECT_EQ(m_reader.GetFirstTime(), 0.0);
    EXPECT_EQ(m_reader.GetLastTime(), 0.0);
}

TEST_F(CInsFileTest, SilentOpenAsksNothingAndRepairsNothing) {
    const Bytes image = CRecordingBuilder().Add(SystemSample()).Add(VelocitySample()).Image();
    std::string strName = m_dir.Write("dump.trs", image);
    ASSERT_EQ(m_reader.Open(strName, true, nullptr, m_outcome), 1);
    EXPECT_EQ(strName, m_dir.Path("dump.trs"));
    EXPECT_FALSE(CBinaryFile::Exists(m_dir.Path("dump_rep.trs")));
    EXPECT_EQ(m_reader.File().GetPosition(), 0u);
    EXPECT_TRUE(m_outcome.written.empty());
}

// ---- Time window --------------------------------------------------------------------------

SDateTimeFields Fields(int y, int mo, int d, int h = 0) {
    SDateTimeFields fields;
    fields.nYear = y;
    fields.nMonth = mo;
    fields.nDay = d;
    fields.nHour = h;
    return fields;
}

TEST(CInsFileTimeWindow, PlacesTimesBeforeInsideAndAfterTheWindow) {
    CInsFile reader;
    reader.WindowFirstTime().nStatus = SDateTimeWithStatus::kInvalid;
    const SDateTimeWithStatus start{39448.0, 0};  // 2008-01-01
    const SDateTimeWithStatus end{39449.0, 0};    // 2008-01-02
    EXPECT_EQ(
        reader.CheckTimeWindow(DateTimeFromFields(Fields(2007, 12, 31, 23)), start, end).nPosition,
        -1);
    EXPECT_EQ(
        reader.CheckTimeWindow(DateTimeFromFields(Fields(2008, 1, 1, 6)), start, end).nPosition, 0);
    EXPECT_EQ(
        reader.CheckTimeWindow(DateTimeFromFields(Fields(2008, 1, 1, 18)), start, end).nPosition,
        0);
    EXPECT_EQ(reader.CheckTimeWindow(DateTimeFromFields(Fields(2008, 1, 2)), start, end).nPosition,
              0);
    EXPECT_EQ(
        reader.CheckTimeWindow(DateTimeFromFields(Fields(2008, 1, 2, 1)), start, end).nPosition, 1);
    EXPECT_DOUBLE_EQ(reader.WindowFirstTime().dValue, 39448.25);
    EXPECT_DOUBLE_EQ(reader.WindowLastTime().dValue, 39449.0);
}

}  // namespace
}  // namespace sulvan
