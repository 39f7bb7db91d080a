#include "convert/BurstHeaderRepair.hpp"

#include "ConvertTestSupport.hpp"

namespace sulvan {
namespace {

using namespace test;

// Where the repair fails; what it writes is checked by the golden cases.
using BurstHeaderRepairTest = ConvertTest;

TEST_F(BurstHeaderRepairTest, AnOutputThatCannotBeCreatedIsReported) {
    OpenRecording(StandardConfiguration("TRS 1001", "1.07"));
    const std::string strOutput = m_dir.Path("missing/run1_new.trs");
    const SFileOutcome outcome = Told(RepairBurstHeaders(m_reader, strOutput, 4));
    EXPECT_TRUE(outcome.IsFailed());
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{"Unable to open output file!"});
    EXPECT_EQ(outcome.messages[0].strReason, strOutput + ": No such file or directory");
    EXPECT_TRUE(outcome.incomplete.empty());
}

TEST_F(BurstHeaderRepairTest, AFailedWriteReportsAnIncompleteCopy) {
    OpenRecording(CRecordingBuilder()
                      .Add(StandardConfiguration("TRS 1001", "1.07"))
                      .Add(VelocitySample())
                      .Image());
    const SFileOutcome outcome = Told(RepairBurstHeaders(m_reader, "/dev/full", 4));
    EXPECT_TRUE(outcome.IsFailed());
    EXPECT_EQ(m_ui.Messages(),
              std::vector<std::string>{
                  "/dev/full\rNo space left on device\r\rThe output file is incomplete."});
    EXPECT_EQ(outcome.incomplete, std::vector<std::string>{"/dev/full"});
}

}  // namespace
}  // namespace sulvan
