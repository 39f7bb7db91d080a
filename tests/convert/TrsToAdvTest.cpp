#include "convert/TrsToAdv.hpp"

#include <sys/stat.h>

#include "ConvertTestSupport.hpp"
#include "config/ConfigFields.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// The fields of the expected file header that vary between the tests.
struct SExpectedHeader {
    int nYear = 2008, nMonth = 1, nDay = 1, nHour = 12, nMinute = 0, nSecond = 0;
    double dTemperature = 12.34;
    double dSoundSpeed = 1480.5;
    std::int16_t nAttitude = 0;
};

// The header and instrument block written from the layout tables for a recording made with
// the builders' default configuration: salinity 35.0, rate divisor 16 (index 5, 32 Hz), range
// setting 160 (index 5, code 1), no synchronisation, name "RUN01", head "TRS 2001".
Bytes ExpectedHeaderBlocks(const SExpectedHeader& e) {
    Bytes header(300, 0);
    PutText(header, 0, "ADV 3.0");
    PutU16(header, 8, static_cast<std::uint16_t>(e.nYear));
    header[10] = static_cast<std::uint8_t>(e.nDay);
    header[11] = static_cast<std::uint8_t>(e.nMonth);
    header[12] = static_cast<std::uint8_t>(e.nMinute);
    header[13] = static_cast<std::uint8_t>(e.nHour);
    header[15] = static_cast<std::uint8_t>(e.nSecond);
    std::fill(header.begin() + 17, header.begin() + 24, 3);
    PutF32(header, 26, e.dTemperature);
    PutF32(header, 30, 350 * 0.1);
    PutF32(header, 34, e.dSoundSpeed);
    PutF32(header, 38, 32.0);
    PutU16(header, 42, 1);
    PutU16(header, 44, 0);
    PutI16(header, 48, e.nAttitude);
    PutText(header, 52, "RUN01");
    PutText(header, 92, "Synthetic test deployment");

    Bytes block(254, 0);
    PutText(block, 10, "2001");
    block[16] = 0x02;  // low byte of head type 0x0102
    PutU16(block, 18, 3);
    PutU16(block, 20, 1000);  // 800 * 1250 / 1000
    for (std::size_t i : {0u, 4u, 8u}) {
        PutF32(block, 120 + 4 * i, 1.0);
    }
    PutF32(block, 160, e.dSoundSpeed);
    return Join({header, block});
}

struct SExpectedSample {
    std::vector<int> counts = {100, -200, 300};
    std::vector<int> amplitudes = {110, 120, 130};
    std::vector<int> correlations = {90, 91, 92};
    double dScale = 0.001;
    bool bAttitude = false;
    std::int16_t nHeading = 900, nPitch = -15, nRoll = 25, nTemperature = 123;
};

// One sample record and its two zero bytes: 20 bytes, or 28 with attitude.
Bytes ExpectedSample(const SExpectedSample& e) {
    Bytes bytes(e.bAttitude ? 28 : 20, 0);
    for (std::size_t b = 0; b < e.counts.size(); ++b) {
        PutF32(bytes, 4 * b, e.counts[b] * e.dScale);
        bytes[12 + b] = static_cast<std::uint8_t>(e.amplitudes[b]);
        bytes[15 + b] = static_cast<std::uint8_t>(e.correlations[b]);
    }
    if (e.bAttitude) {
        PutI16(bytes, 18, e.nHeading);
        PutI16(bytes, 20, e.nPitch);
        PutI16(bytes, 22, e.nRoll);
        PutI16(bytes, 24, e.nTemperature);
    }
    return bytes;
}

SSystemSample System(double dSoundSpeed = 1480.5, std::int16_t nTemperature = 1234) {
    SSystemSample sample;
    sample.nSoundSpeed = static_cast<std::uint16_t>(dSoundSpeed * 10 + 0.5);
    sample.nTemperature = nTemperature;
    return sample;
}

class TrsToAdvTest : public ConvertTest {
  protected:
    Bytes Convert(const Bytes& image, bool bBurstFiles = false) {
        OpenRecording(image);
        m_strOutput = m_dir.Path("run1.adv");
        EXPECT_TRUE(TrsToAdv(m_ui, m_reader, m_strOutput, bBurstFiles));
        return CBinaryFile::Exists(m_strOutput) ? ReadFileBytes(m_strOutput) : Bytes{};
    }

    std::string m_strOutput;
};

TEST_F(TrsToAdvTest, WithoutCompassEverySampleTakesTwentyBytes) {
    SVelocitySample second;
    second.velocities = {-1, 0, 32767};
    second.amplitudes = {0, 255, 7};
    second.correlations = {100, 0, 1};
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(SystemSample(System()))
                            .Add(VelocitySample())
                            .Add(VelocitySample(second))
                            .Image();
    SExpectedSample secondExpected;
    secondExpected.counts = {-1, 0, 32767};
    secondExpected.amplitudes = {0, 255, 7};
    secondExpected.correlations = {100, 0, 1};
    EXPECT_EQ(Convert(image),
              Join({ExpectedHeaderBlocks({}), ExpectedSample({}), ExpectedSample(secondExpected)}));
    EXPECT_EQ(m_strOutput, m_dir.Path("run1.adv"));
    EXPECT_TRUE(m_ui.Events().empty());
}

TEST_F(TrsToAdvTest, WithCompassSamplesCarryTheLatestAttitude) {
    for (std::int16_t nCoordinates : {0, 1, 2}) {
        SHeadOptions head;
        head.bCompass = true;
        SUserOptions user;
        user.nCoordinateSystem = nCoordinates;
        SSystemSample later = System(1490.0, -125);
        later.nHeading = 3599;
        later.nPitch = 10;
        later.nRoll = -20;
        const Bytes image = CRecordingBuilder()
                                .Add(StandardConfiguration("TRS 1001", "1.08", head, user))
                                .Add(SystemSample(System()))
                                .Add(VelocitySample())
                                .Add(SystemSample(later))
                                .Add(VelocitySample())
                                .Image();
        SExpectedHeader header;
        header.nAttitude = nCoordinates == 0 ? 2 : 1;
        SExpectedSample first;
        first.bAttitude = true;
        SExpectedSample second = first;
        second.nHeading = 3599;
        second.nPitch = 10;
        second.nRoll = -20;
        second.nTemperature = -12;  // -1.25 degC in 0.1 degC, truncated toward zero
        CInsFile reader;
        CScriptedUserInterface ui;
        std::string strInput = m_dir.Write("compass.trs", image);
        ASSERT_EQ(reader.Open(strInput, true, &ui), 1);
        std::string strOutput = m_dir.Path("compass.adv");
        ASSERT_TRUE(TrsToAdv(ui, reader, strOutput, false));
        EXPECT_EQ(ReadFileBytes(strOutput), Join({ExpectedHeaderBlocks(header),
                                                  ExpectedSample(first), ExpectedSample(second)}))
            << "coordinate system " << nCoordinates;
    }
}

TEST_F(TrsToAdvTest, TheFineScaleCountsTenthsOfMillimetres) {
    SUserOptions user;
    user.nModeWord = 1u << UserField::FineVelocityScaleBit;
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, user))
                            .Add(SystemSample(System()))
                            .Add(VelocitySample())
                            .Image();
    SExpectedSample sample;
    sample.dScale = 0.0001;
    EXPECT_EQ(Convert(image), Join({ExpectedHeaderBlocks({}), ExpectedSample(sample)}));
}

TEST_F(TrsToAdvTest, SamplesBeforeTheFirstSystemSampleAreDropped) {
    SVelocitySample early;
    early.velocities = {1, 1, 1};
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(VelocitySample(early))
                            .Add(VelocitySample(early))
                            .Add(SystemSample(System()))
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(Convert(image), Join({ExpectedHeaderBlocks({}), ExpectedSample({})}));
}

TEST_F(TrsToAdvTest, ABadChecksumIsSkippedAndTheWalkResynchronises) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(SystemSample(System()))
                            .Add(VelocitySample().CorruptChecksum())
                            .Garbage(3)
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(Convert(image), Join({ExpectedHeaderBlocks({}), ExpectedSample({})}));
}

TEST_F(TrsToAdvTest, NegativeTemperaturesKeepTheirSign) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(SystemSample(System(1480.5, -125)))
                            .Add(VelocitySample())
                            .Image();
    SExpectedHeader header;
    header.dTemperature = -1.25;
    EXPECT_EQ(Convert(image), Join({ExpectedHeaderBlocks(header), ExpectedSample({})}));
}

TEST_F(TrsToAdvTest, ARecordingWithoutSamplesLeavesAnEmptyFile) {
    const Bytes image =
        CRecordingBuilder().Add(StandardConfiguration()).Add(SystemSample(System())).Image();
    EXPECT_TRUE(Convert(image).empty());
    EXPECT_TRUE(CBinaryFile::Exists(m_strOutput));
}

// ---- Bursts --------------------------------------------------------------------------------

SUserOptions BurstDeployment() {
    SUserOptions user;
    user.nBurstSamples = 4;
    return user;
}

TEST_F(TrsToAdvTest, BurstFilesGetOneFileEachWithItsOwnHeader) {
    const ClockBytes clock = MakeClock(2008, 1, 1, 12, 0, 0);
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, BurstDeployment()))
                            .Add(SystemSample(System(1480.5, 1234)))
                            .Add(VelocitySample())  // before the first burst: dropped
                            .Add(VelocityHeader(clock, 4))
                            .Add(VelocitySample())
                            .Add(VelocitySample())
                            .Add(SystemSample(System(1490.0, 1000)))
                            .Add(VelocityHeader(clock, 4))
                            .Add(VelocitySample())
                            .Add(VelocityHeader(clock, 4))  // no sample follows
                            .Image();
    OpenRecording(image);
    std::string strOutput = m_dir.Path("run1.adv");
    ASSERT_TRUE(TrsToAdv(m_ui, m_reader, strOutput, true));
    EXPECT_EQ(strOutput, m_dir.Path("run1_3.adv"));
    EXPECT_FALSE(CBinaryFile::Exists(m_dir.Path("run1.adv")));
    EXPECT_EQ(ReadFileBytes(m_dir.Path("run1_1.adv")),
              Join({ExpectedHeaderBlocks({}), ExpectedSample({}), ExpectedSample({})}));
    SExpectedHeader second;
    second.dTemperature = 10.0;
    second.dSoundSpeed = 1490.0;
    EXPECT_EQ(ReadFileBytes(m_dir.Path("run1_2.adv")),
              Join({ExpectedHeaderBlocks(second), ExpectedSample({})}));
    EXPECT_TRUE(ReadFileBytes(m_dir.Path("run1_3.adv")).empty());
}

TEST_F(TrsToAdvTest, BurstFilesOfAContinuousRecordingGiveOneFile) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(SystemSample(System()))
                            .Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0), 4))
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(Convert(image, true), Join({ExpectedHeaderBlocks({}), ExpectedSample({})}));
    EXPECT_EQ(m_strOutput, m_dir.Path("run1.adv"));
}

TEST_F(TrsToAdvTest, WithoutBurstFilesABurstRecordingGivesOneFile) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, BurstDeployment()))
                            .Add(SystemSample(System()))
                            .Add(VelocitySample())
                            .Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0), 4))
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(Convert(image, false),
              Join({ExpectedHeaderBlocks({}), ExpectedSample({}), ExpectedSample({})}));
}

TEST_F(TrsToAdvTest, BurstFilesWithoutAnyBurstHeaderWriteNothing) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, BurstDeployment()))
                            .Add(SystemSample(System()))
                            .Add(VelocitySample())
                            .Image();
    OpenRecording(image);
    std::string strOutput = m_dir.Path("run1.adv");
    ASSERT_TRUE(TrsToAdv(m_ui, m_reader, strOutput, true));
    EXPECT_EQ(strOutput, m_dir.Path("run1.adv"));
    EXPECT_FALSE(CBinaryFile::Exists(strOutput));
    EXPECT_FALSE(CBinaryFile::Exists(m_dir.Path("run1_1.adv")));
}

TEST_F(TrsToAdvTest, BurstFileNamesKeepAFolderNamedLikeAnOutput) {
    const std::string strFolder = m_dir.Path("run.adv.d");
    ASSERT_EQ(::mkdir(strFolder.c_str(), 0755), 0);
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", {}, BurstDeployment()))
                            .Add(SystemSample(System()))
                            .Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 0, 0), 4))
                            .Add(VelocitySample())
                            .Image();
    OpenRecording(image);
    std::string strOutput = strFolder + "/out.adv";
    ASSERT_TRUE(TrsToAdv(m_ui, m_reader, strOutput, true));
    EXPECT_EQ(strOutput, strFolder + "/out_1.adv");
    EXPECT_EQ(ReadFileBytes(strOutput), Join({ExpectedHeaderBlocks({}), ExpectedSample({})}));
}

// ---- Beam counts ---------------------------------------------------------------------------

TEST_F(TrsToAdvTest, BeamsBeyondTheRecordedOnesAreZero) {
    SHeadOptions head;
    head.nBeams = 2;
    SUserOptions user;
    user.nBeams = 2;
    SVelocitySample sample;
    sample.velocities = {100, -200};
    sample.amplitudes = {110, 120};
    sample.correlations = {90, 91};
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", head, user))
                            .Add(SystemSample(System()))
                            .Add(VelocitySample(sample))
                            .Image();
    const Bytes output = Convert(image);
    SExpectedSample expected;
    expected.counts = {100, -200};
    expected.amplitudes = {110, 120};
    expected.correlations = {90, 91};
    ASSERT_EQ(output.size(), 554u + 20u);
    EXPECT_EQ(Bytes(output.begin() + 554, output.end()), ExpectedSample(expected));
}

TEST_F(TrsToAdvTest, WithFourBeamsAmplitudesComeFromAfterAllVelocities) {
    SHeadOptions head;
    head.nBeams = 4;
    SUserOptions user;
    user.nBeams = 4;
    SVelocitySample sample;
    sample.velocities = {100, -200, 300, 400};
    sample.amplitudes = {110, 120, 130, 140};
    sample.correlations = {90, 91, 92, 93};
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration("TRS 1001", "1.08", head, user))
                            .Add(SystemSample(System()))
                            .Add(VelocitySample(sample))
                            .Image();
    const Bytes output = Convert(image);
    ASSERT_EQ(output.size(), 554u + 20u);
    EXPECT_EQ(Bytes(output.begin() + 554, output.end()), ExpectedSample({}));
}

// ---- File errors ---------------------------------------------------------------------------

TEST_F(TrsToAdvTest, AnOutputThatCannotBeCreatedIsReported) {
    OpenRecording(CRecordingBuilder().Add(StandardConfiguration()).Image());
    std::string strOutput = m_dir.Path("missing/run1.adv");
    EXPECT_FALSE(TrsToAdv(m_ui, m_reader, strOutput, false));
    EXPECT_EQ(m_ui.Messages(), std::vector<std::string>{strOutput + "\rNo such file or directory"});
}

TEST_F(TrsToAdvTest, AFailedWriteReportsAnIncompleteOutput) {
    OpenRecording(CRecordingBuilder()
                      .Add(StandardConfiguration())
                      .Add(SystemSample(System()))
                      .Add(VelocitySample())
                      .Image());
    std::string strOutput = "/dev/full";
    EXPECT_FALSE(TrsToAdv(m_ui, m_reader, strOutput, false));
    EXPECT_EQ(m_ui.Messages(),
              std::vector<std::string>{
                  "/dev/full\rNo space left on device\r\rThe output file is incomplete."});
}

}  // namespace
}  // namespace sulvan
