#include "convert/BurstHeaderRepair.hpp"

#include "ConvertTestSupport.hpp"

namespace sulvan {
namespace {

using namespace test;

// Where the repair fails; what it writes is checked by the golden cases.
using BurstHeaderRepairTest = ConvertTest;

TEST_F(BurstHeaderRepairTest, AnOutputThatCannotBeCreatedIsReported) {
    OpenRecording(StandardConfiguration("TRS 1001", "1.07"));
    EXPECT_FALSE(RepairBurstHeaders(m_ui, m_reader, m_dir.Path("missing/run1_new.trs"), 4));
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{"Unable to open output file!"});
}

TEST_F(BurstHeaderRepairTest, AFailedWriteReportsAnIncompleteCopy) {
    OpenRecording(CRecordingBuilder()
                      .Add(StandardConfiguration("TRS 1001", "1.07"))
                      .Add(VelocitySample())
                      .Image());
    EXPECT_FALSE(RepairBurstHeaders(m_ui, m_reader, "/dev/full", 4));
    EXPECT_EQ(m_ui.Messages(),
              std::vector<std::string>{
                  "/dev/full\rNo space left on device\r\rThe output file is incomplete."});
}

}  // namespace
}  // namespace sulvan
