#include "convert/TrsToAdv.hpp"

#include <sys/stat.h>

#include "ConvertTestSupport.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// Burst-file naming and the failures; what the conversion writes is checked by the golden
// cases.
using TrsToAdvTest = ConvertTest;

SUserOptions BurstDeployment() {
    SUserOptions user;
    user.nBurstSamples = 4;
    return user;
}

TEST_F(TrsToAdvTest, BurstFilesWithoutAnyBurstHeaderWriteNothing) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, BurstDeployment()))
                            .Add(SystemSample())
                            .Add(VelocitySample())
                            .Image();
    OpenRecording(image);
    const std::string strOutput = m_dir.Path("run1.adv");
    const SFileOutcome outcome = TrsToAdv(m_reader, strOutput, true);
    EXPECT_FALSE(outcome.IsFailed());
    EXPECT_TRUE(outcome.written.empty());
    EXPECT_FALSE(CBinaryFile::Exists(strOutput));
    EXPECT_FALSE(CBinaryFile::Exists(m_dir.Path("run1_1.adv")));
}

TEST_F(TrsToAdvTest, BurstFileNamesKeepAFolderNamedLikeAnOutput) {
    const std::string strFolder = m_dir.Path("run.adv.d");
    ASSERT_EQ(::mkdir(strFolder.c_str(), 0755), 0);
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, BurstDeployment()))
                            .Add(SystemSample())
                            .Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0), 4))
                            .Add(VelocitySample())
                            .Image();
    OpenRecording(image);
    const SFileOutcome outcome = TrsToAdv(m_reader, strFolder + "/out.adv", true);
    ASSERT_EQ(outcome.written.size(), 1u);
    EXPECT_EQ(outcome.written[0].strPath, strFolder + "/out_1.adv");
    EXPECT_EQ(outcome.written[0].nDataRecords, 1u);
    // The file header, the instrument block and one 20-byte sample.
    EXPECT_EQ(ReadFileBytes(strFolder + "/out_1.adv").size(), 300u + 254u + 20u);
}

TEST_F(TrsToAdvTest, AnOutputThatCannotBeCreatedIsReported) {
    OpenRecording(CRecordingBuilder().Add(StandardConfiguration()).Image());
    const std::string strOutput = m_dir.Path("missing/run1.adv");
    const SFileOutcome outcome = Told(TrsToAdv(m_reader, strOutput, false));
    EXPECT_TRUE(outcome.IsFailed());
    EXPECT_TRUE(outcome.incomplete.empty());
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{strOutput + "\rNo such file or directory"});
}

TEST_F(TrsToAdvTest, AFailedWriteReportsAnIncompleteOutput) {
    OpenRecording(CRecordingBuilder()
                      .Add(StandardConfiguration())
                      .Add(SystemSample())
                      .Add(VelocitySample())
                      .Image());
    const SFileOutcome outcome = Told(TrsToAdv(m_reader, "/dev/full", false));
    EXPECT_TRUE(outcome.IsFailed());
    EXPECT_EQ(outcome.incomplete, std::vector<std::string>{"/dev/full"});
    EXPECT_EQ(m_ui.Messages(),
              std::vector<std::string>{
                  "/dev/full\rNo space left on device\r\rThe output file is incomplete."});
}

}  // namespace
}  // namespace sulvan
