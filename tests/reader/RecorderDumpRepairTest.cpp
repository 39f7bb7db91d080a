// The recorder dump repair where it fails; what it writes is checked by the golden cases.
#include <unistd.h>

#include <sys/stat.h>

#include "ReaderTestSupport.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

class RecorderDumpRepair : public ReaderTest {
  protected:
    const Bytes m_data = CRecordingBuilder().Add(SystemSample()).Add(VelocitySample()).Image();
};

TEST_F(RecorderDumpRepair, AnExistingCopyIsReplacedWithoutAsking) {
    m_dir.Write("dump_rep.trs", Bytes(10000, 0x11));
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 1);
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump_rep.trs")).size(), 784 + m_data.size());
    EXPECT_EQ(m_ui.Questions().size(), 1u);
    ASSERT_EQ(m_outcome.written.size(), 1u);
    EXPECT_EQ(m_outcome.written[0].strPath, m_dir.Path("dump_rep.trs"));
}

// The user asked for the copy: without it the file fails, and the dump is not read as it is.
TEST_F(RecorderDumpRepair, AFailedCopyFailsTheFileAndIsListedIncomplete) {
    // A full disk behind the copy's name: every write fails.
    ASSERT_EQ(::symlink("/dev/full", m_dir.Path("dump_rep.trs").c_str()), 0);
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 0);
    EXPECT_TRUE(m_outcome.IsFailed());
    EXPECT_FALSE(m_reader.IsOpen());
    EXPECT_EQ(m_outcome.incomplete, std::vector<std::string>{m_dir.Path("dump_rep.trs")});
    EXPECT_TRUE(m_outcome.written.empty());
    EXPECT_EQ(OutcomeTexts(),
              std::vector<std::string>{m_dir.Path("dump_rep.trs") +
                                       "\rNo space left on device\r\rThe repaired copy is "
                                       "incomplete. | " +
                                       m_dir.Path("dump_rep.trs") + ": No space left on device"});
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump.trs")), m_data);
}

TEST_F(RecorderDumpRepair, ACopyThatCannotBeCreatedFailsTheFileAndLeavesTheDumpUntouched) {
    ASSERT_EQ(::mkdir(m_dir.Path("dump_rep.trs").c_str(), 0755), 0);
    m_ui.Answer(true);
    ASSERT_EQ(Open("dump.trs", m_data), 0);
    EXPECT_TRUE(m_outcome.incomplete.empty());
    ASSERT_EQ(m_outcome.messages.size(), 1u);
    EXPECT_EQ(
        m_outcome.messages[0].strText,
        m_dir.Path("dump_rep.trs") + "\rIs a directory\r\rThe repaired copy could not be created.");
    EXPECT_TRUE(m_ui.Messages().empty());
    EXPECT_EQ(ReadFileBytes(m_dir.Path("dump.trs")), m_data);
}

}  // namespace
}  // namespace sulvan
