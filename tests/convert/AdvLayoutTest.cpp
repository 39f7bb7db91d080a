#include "convert/AdvLayout.hpp"

#include "ConvertTestSupport.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

TEST(AdvLayout, FileHeaderPutsEveryFieldAtItsOffset) {
    SAdvFileHeader header;
    SDateTimeFields start;
    start.nYear = 2010;
    start.nMonth = 5;
    start.nDay = 17;
    start.nHour = 13;
    start.nMinute = 45;
    start.nSecond = 30;
    header.start = start;
    header.nHundredths = 25;
    header.nProbes = 3;
    header.fTemperature = -1.25F;
    header.fSalinity = 35.0F;
    header.fSoundSpeed = 1500.5F;
    header.fSampleRate = 64.0F;
    header.nVelocityRange = 2;
    header.nSyncCode = 1;
    header.nAttitude = 2;
    header.strName = "DEPLOYMENT";  // only six characters fit
    header.strComment = std::string(70, 'c');

    Bytes expected(300, 0);
    PutText(expected, 0, "ADV 3.0");
    PutU16(expected, 8, 2010);
    expected[10] = 17;
    expected[11] = 5;
    expected[12] = 45;
    expected[13] = 13;
    expected[14] = 25;
    expected[15] = 30;
    for (std::size_t p = 3; p < 8; ++p) {
        expected[16 + p] = 3;
    }
    PutF32(expected, 26, -1.25);
    PutF32(expected, 30, 35.0);
    PutF32(expected, 34, 1500.5);
    PutF32(expected, 38, 64.0);
    PutU16(expected, 42, 2);
    PutU16(expected, 44, 1);
    PutI16(expected, 48, 2);
    PutText(expected, 52, "DEPLOY");
    std::memset(expected.data() + 92, 'c', 60);

    const auto bytes = EncodeAdvFileHeader(header);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
}

TEST(AdvLayout, AStartThatCannotBeSplitReadsAllOnes) {
    SAdvFileHeader header;
    const auto bytes = EncodeAdvFileHeader(header);
    EXPECT_EQ(ReadU16Le(bytes.data() + 8), 0xFFFF);
    for (std::size_t nOffset : {10u, 11u, 12u, 13u, 15u}) {
        EXPECT_EQ(bytes[nOffset], 0xFF) << nOffset;
    }
    EXPECT_EQ(bytes[14], 0);
    EXPECT_EQ(bytes[16], 0);
    EXPECT_EQ(bytes[17], 3);
}

TEST(AdvLayout, InstrumentBlockHoldsSerialHeadFieldsMatrixAndSoundSpeed) {
    SAdvInstrumentBlock block;
    block.strSerial = "2001";
    block.nHeadType = 0x02;
    block.nBeams = 3;
    block.nHeadQuantity = 1000;
    block.matrix = {1.0F, 0.5F, 0, 0, -0.25F, 0, 0, 0, 1.0F};
    block.fSoundSpeed = 1480.0F;
    Bytes expected(254, 0);
    PutText(expected, 10, "2001");
    expected[16] = 0x02;
    PutU16(expected, 18, 3);
    PutU16(expected, 20, 1000);
    PutF32(expected, 120, 1.0);
    PutF32(expected, 124, 0.5);
    PutF32(expected, 136, -0.25);
    PutF32(expected, 152, 1.0);
    PutF32(expected, 160, 1480.0);
    const auto bytes = EncodeAdvInstrumentBlock(block);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
}

TEST(AdvLayout, SamplesHaveEighteenOrTwentySixBytes) {
    SAdvSample sample;
    sample.velocity = {0.1F, -0.2F, 0.3F};
    sample.amplitude = {1, 2, 3};
    sample.correlation = {4, 5, 6};
    sample.nHeading = 900;
    sample.nPitch = -15;
    sample.nRoll = 25;
    sample.nTemperature = -12;
    Bytes expected(26, 0);
    PutF32(expected, 0, 0.1F);
    PutF32(expected, 4, -0.2F);
    PutF32(expected, 8, 0.3F);
    const std::uint8_t counts[] = {1, 2, 3, 4, 5, 6};
    std::memcpy(expected.data() + 12, counts, 6);
    PutI16(expected, 18, 900);
    PutI16(expected, 20, -15);
    PutI16(expected, 22, 25);
    PutI16(expected, 24, -12);

    Bytes bytes(26, 0xEE);
    EXPECT_EQ(EncodeAdvSample(sample, true, bytes.data()), 26u);
    EXPECT_EQ(bytes, expected);
    Bytes shortForm(26, 0xEE);
    EXPECT_EQ(EncodeAdvSample(sample, false, shortForm.data()), 18u);
    EXPECT_TRUE(std::equal(shortForm.begin(), shortForm.begin() + 18, expected.begin()));
    EXPECT_EQ(shortForm[18], 0xEE) << "the short form writes nothing beyond its 18 bytes";
}

}  // namespace
}  // namespace sulvan
