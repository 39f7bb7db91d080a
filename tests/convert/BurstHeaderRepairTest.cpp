#include "convert/BurstHeaderRepair.hpp"

#include "ConvertTestSupport.hpp"
#include "format/Checksum.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// A built header, written from its layout: sync, 0x12, 21 words, clock, samples per burst.
Bytes ExpectedHeader(const ClockBytes& clock, std::uint16_t nSamples) {
    Bytes header(42, 0);
    header[0] = 0xA5;
    header[1] = 0x12;
    header[2] = 21;
    std::copy(clock.begin(), clock.end(), header.begin() + 4);
    PutU16(header, 10, nSamples);
    PutU16(header, 40, RecordChecksum(header.data(), 20));
    return header;
}

SVelocitySample Numbered(int n) {
    SVelocitySample sample;
    sample.velocities = {static_cast<std::int16_t>(n), 0, 0};
    return sample;
}

class BurstHeaderRepairTest : public ConvertTest {
  protected:
    // The input's configuration with the firmware text made "1.08" (checksum refreshed),
    // followed by the head and user records as they were.
    static Bytes RepairedConfiguration(const SHeadOptions& head = {},
                                       const SUserOptions& user = {}) {
        return Join({HardwareConfig("TRS 1001", "1.08").Build(), HeadConfig(head).Build(),
                     UserConfig(user).Build()});
    }

    Bytes Repair(const Bytes& image, std::uint16_t nSamplesPerBurst) {
        OpenRecording(image);
        const std::string strOutput = m_dir.Path("run1_new.trs");
        EXPECT_TRUE(RepairBurstHeaders(m_ui, m_reader, strOutput, nSamplesPerBurst));
        return ReadFileBytes(strOutput);
    }
};

TEST_F(BurstHeaderRepairTest, BuildsAHeaderInFrontOfEveryBurst) {
    const ClockBytes first = MakeClock(2008, 1, 1, 12, 0, 0);
    const ClockBytes second = MakeClock(2008, 1, 1, 12, 0, 1);
    SSystemSample firstSystem;
    firstSystem.clock = first;
    SSystemSample secondSystem;
    secondSystem.clock = second;
    CRecordingBuilder input;
    input.Add(StandardConfiguration("TRS 1001", "1.07")).Add(SystemSample(firstSystem));
    for (int n = 1; n <= 10; ++n) {
        input.Add(VelocitySample(Numbered(n)));
        if (n == 6) {
            input.Add(SystemSample(secondSystem));
        }
    }
    const auto v = [](int n) { return VelocitySample(Numbered(n)).Build(); };
    const Bytes expected = Join(
        {RepairedConfiguration(), ExpectedHeader(first, 4), SystemSample(firstSystem).Build(), v(1),
         v(2), v(3), v(4), ExpectedHeader(first, 4), v(5), v(6), SystemSample(secondSystem).Build(),
         v(7), v(8), ExpectedHeader(second, 4), v(9), v(10)});
    EXPECT_EQ(Repair(input.Image(), 4), expected);
    EXPECT_TRUE(m_ui.Events().empty());
    EXPECT_DOUBLE_EQ(m_reader.Conf().GetFirmwareVersion(), 1.08);
}

TEST_F(BurstHeaderRepairTest, NoSamplesPerBurstGiveOneHeader) {
    const ClockBytes clock = MakeClock(2008, 1, 1, 12, 0, 0);
    SSystemSample system;
    system.clock = clock;
    const Bytes input = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.07"))
                            .Add(SystemSample(system))
                            .Add(VelocitySample(Numbered(1)))
                            .Add(VelocitySample(Numbered(2)))
                            .Add(VelocitySample(Numbered(3)))
                            .Image();
    EXPECT_EQ(Repair(input, 0),
              Join({RepairedConfiguration(), ExpectedHeader(clock, 0), SystemSample(system).Build(),
                    VelocitySample(Numbered(1)).Build(), VelocitySample(Numbered(2)).Build(),
                    VelocitySample(Numbered(3)).Build()}));
}

TEST_F(BurstHeaderRepairTest, BeforeAnySystemSampleTheHeaderHasTheInvalidClock) {
    const Bytes input = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.07"))
                            .Add(VelocitySample(Numbered(1)))
                            .Add(SystemSample())
                            .Image();
    EXPECT_EQ(Repair(input, 4),
              Join({RepairedConfiguration(), ExpectedHeader(kInvalidClock, 4),
                    VelocitySample(Numbered(1)).Build(), SystemSample().Build()}));
}

TEST_F(BurstHeaderRepairTest, OldHeadersAndDamagedSamplesAreLeftOut) {
    const ClockBytes clock = MakeClock(2008, 1, 1, 12, 0, 0);
    SSystemSample system;
    system.clock = clock;
    const Bytes input = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.07"))
                            .Add(SystemSample(system))
                            .Add(VelocityHeader(MakeClock(2009, 9, 9, 9, 9, 9), 99))
                            .Add(VelocitySample(Numbered(1)))
                            .Add(VelocitySample(Numbered(2)).CorruptChecksum())
                            .Add(VelocitySample(Numbered(3)))
                            .Add(VelocitySample(Numbered(4)))
                            .Image();
    // The damaged sample does not count towards the two samples of a burst.
    EXPECT_EQ(Repair(input, 2),
              Join({RepairedConfiguration(), ExpectedHeader(clock, 2), SystemSample(system).Build(),
                    VelocitySample(Numbered(1)).Build(), VelocitySample(Numbered(3)).Build(),
                    ExpectedHeader(clock, 2), VelocitySample(Numbered(4)).Build()}));
}

TEST_F(BurstHeaderRepairTest, TwoBeamSamplesAreCopiedWhole) {
    SHeadOptions head;
    head.nBeams = 2;
    SUserOptions user;
    user.nBeams = 2;
    SVelocitySample sample;
    sample.velocities = {7, 8};
    sample.amplitudes = {9, 10};
    sample.correlations = {11, 12};
    const Bytes input = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.07", head, user))
                            .Add(VelocitySample(sample))
                            .Add(VelocitySample(sample))
                            .Image();
    EXPECT_EQ(Repair(input, 0),
              Join({RepairedConfiguration(head, user), ExpectedHeader(kInvalidClock, 0),
                    VelocitySample(sample).Build(), VelocitySample(sample).Build()}));
}

TEST_F(BurstHeaderRepairTest, TheCopyOpensWithoutQuestionsAsFirmware108) {
    SUserOptions user;
    user.nBurstSamples = 2;
    // Opening reads a 200 kHz head as 190 and changes the held record: the copy's checksum
    // must follow.
    SHeadOptions head;
    head.nFrequencyKhz = 200;
    const Bytes input = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.07", head, user))
                            .Add(SystemSample())
                            .Add(VelocitySample())
                            .Add(VelocitySample())
                            .Add(VelocitySample())
                            .Image();
    Repair(input, 2);
    CInsFile copy;
    CScriptedUserInterface ui;
    std::string strCopy = m_dir.Path("run1_new.trs");
    ASSERT_EQ(copy.Open(strCopy, true, &ui), 1);
    EXPECT_TRUE(ui.Events().empty());
    EXPECT_DOUBLE_EQ(copy.Conf().GetFirmwareVersion(), 1.08);
    EXPECT_EQ(copy.GetPosition(), 784u);
}

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
