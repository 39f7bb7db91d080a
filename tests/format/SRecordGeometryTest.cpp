#include "format/SRecordGeometry.hpp"

#include <gtest/gtest.h>

#include <array>

namespace sulvan {
namespace {

struct SCheckCase {
    const char* pName;
    std::uint8_t nId;
    std::uint16_t nSizeField;  // in words; ignored by records without a size field
    // Geometry before the check.
    int nBeams;
    int nCells;
    bool bUserValid;
    // Outcome.
    bool bAccepted;
    std::uint32_t nSize;
    int nBeamsAfter;
    int nCellsAfter;
};

class CheckRecordSize : public ::testing::TestWithParam<SCheckCase> {};

TEST_P(CheckRecordSize, AcceptsRejectsAndLearnsAsTheCatalogueSays) {
    const SCheckCase& c = GetParam();
    SRecordGeometry geometry;
    geometry.nBeams = c.nBeams;
    geometry.nCells = c.nCells;
    geometry.bUserConfigValid = c.bUserValid;
    const std::array<std::uint8_t, 4> header = {0xA5, c.nId,
                                                static_cast<std::uint8_t>(c.nSizeField),
                                                static_cast<std::uint8_t>(c.nSizeField >> 8)};
    const SSizeCheck check = geometry.CheckRecordSize(header);
    EXPECT_EQ(check.bAccepted, c.bAccepted);
    EXPECT_EQ(check.nSize, c.nSize);
    EXPECT_EQ(geometry.nBeams, c.nBeamsAfter);
    EXPECT_EQ(geometry.nCells, c.nCellsAfter);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Catalogue, CheckRecordSize, ::testing::Values(
    //         name                      id   words nb nc user  accepted size  nb  nc
    SCheckCase{"UserConfig",             0x00, 256, 3, 1, true,  true,  512,  3,  1},
    SCheckCase{"UserConfigWrongSize",    0x00, 255, 3, 1, true,  false, 510,  3,  1},
    SCheckCase{"PeloraLearnsBeams",      0x01,  22, 3, 1, false, true,  44,   4,  1},
    SCheckCase{"PeloraThreeBeams",       0x01,  21, 3, 1, true,  true,  42,   3,  1},
    SCheckCase{"PeloraFourBeams",        0x01,  22, 4, 1, true,  true,  44,   4,  1},
    SCheckCase{"PeloraMismatch",         0x01,  22, 3, 1, true,  false, 44,   3,  1},
    SCheckCase{"PeloraTooShortToLearn",  0x01,  17, 3, 1, false, false, 34,   3,  1},
    SCheckCase{"Record02Full",           0x02,  16, 3, 1, true,  true,  32,   3,  1},
    SCheckCase{"Record02Half",           0x02,   8, 3, 1, true,  true,  16,   3,  1},
    SCheckCase{"Record02Other",          0x02,  12, 3, 1, true,  false, 24,   3,  1},
    SCheckCase{"Record03Never",          0x03, 3074, 3, 1, true, false, 6148, 3,  1},
    SCheckCase{"HeadConfig",             0x04, 112, 3, 1, false, true,  224,  3,  1},
    SCheckCase{"HardwareConfig",         0x05,  24, 3, 1, false, true,  48,   3,  1},
    SCheckCase{"HardwareConfigWrong",    0x05,  25, 3, 1, false, false, 50,   3,  1},
    SCheckCase{"Record06",               0x06,  18, 3, 1, true,  true,  36,   3,  1},
    SCheckCase{"Record07AnySize",        0x07, 999, 3, 1, true,  true,  1998, 3,  1},
    SCheckCase{"Record07ZeroSize",       0x07,   0, 3, 1, true,  false, 0,    3,  1},
    // No room for the checksum after the header: no record (found by fuzzing the walk).
    SCheckCase{"Record07HeaderOnly",     0x07,   2, 3, 1, true,  false, 4,    3,  1},
    SCheckCase{"TimeMarkShorterThanItsHeader", 0x0F, 1, 3, 1, true, false, 2, 3,  1},
    SCheckCase{"OneBeamLearns",          0x08, 0xFFFF, 3, 1, false, true, 16, 1,  1},
    SCheckCase{"OneBeamKnown",           0x08,   0, 3, 1, true,  true,  16,   3,  1},
    SCheckCase{"TwoBeamLearns",          0x09,   0, 3, 1, false, true,  20,   2,  1},
    SCheckCase{"TimeMarkAnySize",        0x0F,   7, 3, 1, true,  true,  14,   3,  1},
    SCheckCase{"VelocitySample",         0x10, 0x1234, 3, 1, true, true, 24,  3,  1},
    SCheckCase{"VelocitySampleTwoBeams", 0x10,   0, 2, 1, false, true,  20,   2,  1},
    SCheckCase{"SystemSample",           0x11,  14, 3, 1, true,  true,  28,   3,  1},
    SCheckCase{"SystemSampleWrong",      0x11,  15, 3, 1, true,  false, 30,   3,  1},
    SCheckCase{"VelocityHeader",         0x12,  21, 3, 1, true,  true,  42,   3,  1},
    SCheckCase{"Record13Unknown",        0x13,  21, 3, 1, true,  false, 42,   3,  1},
    SCheckCase{"ProfileLearns",          0x20, 150, 3, 1, false, true,  300,  3, 20},
    SCheckCase{"ProfileLearnsThreeBeams",0x20,  65, 1, 1, false, true,  130,  3,  1},
    SCheckCase{"ProfileExact",           0x20,  65, 3, 1, true,  true,  130,  3,  1},
    SCheckCase{"ProfileMismatch",        0x20,  66, 3, 1, true,  false, 132,  3,  1},
    SCheckCase{"Profile21Learns",        0x21, 106, 1, 1, false, true,  212,  3, 20},
    SCheckCase{"Profile21Matches",       0x21, 106, 3, 20, true, true,  212,  3, 20},
    SCheckCase{"Profile21Mismatch",      0x21, 111, 3, 20, true, false, 222,  3, 20},
    SCheckCase{"Profile21TooShort",      0x21,  10, 3, 1, false, false, 20,   3,  1},
    SCheckCase{"Profile22Learns",        0x22,  37, 3, 1, false, true,  74,   2,  7},
    SCheckCase{"Profile23Learns",        0x23,  27, 3, 1, false, true,  54,   1,  7},
    SCheckCase{"Profile24Learns",        0x24,  69, 1, 1, false, true,  138,  3,  2},
    SCheckCase{"Profile25Learns",        0x25,  66, 3, 1, false, true,  132,  2,  2},
    SCheckCase{"Profile26Learns",        0x26,  65, 3, 1, false, true,  130,  1,  3},
    SCheckCase{"Profile28Learns",        0x28,  34, 3, 1, false, true,  68,   3,  4},
    SCheckCase{"Profile2ALearns",        0x2A,  52, 3, 1, false, true,  104,  3,  4},
    SCheckCase{"WaveSample",             0x30,  12, 3, 1, true,  true,  24,   3,  1},
    SCheckCase{"WaveBurstHeader",        0x31,  30, 3, 1, true,  true,  60,   3,  1},
    SCheckCase{"Record35",               0x35, 103, 3, 1, true,  true,  206,  3,  1},
    SCheckCase{"Record36",               0x36, 0xFFFF, 3, 1, false, true, 24, 3,  1},
    SCheckCase{"Profile40Learns",        0x40,  30, 3, 1, false, true,  60,   2,  5},
    SCheckCase{"Profile41AtLimit",       0x41, 209, 3, 1, true,  true,  418,  3,  1},
    SCheckCase{"Profile41OverLimit",     0x41, 210, 3, 1, true,  false, 420,  3,  1},
    SCheckCase{"Profile42AtLimit",       0x42, 1041, 3, 1, false, true, 2082, 3,  1},
    SCheckCase{"Profile42OverLimit",     0x42, 1042, 3, 1, false, false, 2084, 3, 1},
    SCheckCase{"Record50",               0x50,  21, 3, 1, true,  true,  42,   3,  1},
    // A multi-probe sample is sized with the current nb and teaches nothing.
    SCheckCase{"MultiProbeKeepsBeams",   0x51,   0, 3, 1, false, true,  18,   3,  1},
    SCheckCase{"MultiProbeTwoBeams",     0x51,   0, 2, 1, false, true,  14,   2,  1},
    SCheckCase{"Record60",               0x60,  40, 3, 1, true,  true,  80,   3,  1},
    SCheckCase{"Record61",               0x61,  24, 3, 1, true,  true,  48,   3,  1},
    SCheckCase{"Record62",               0x62, 121, 3, 1, true,  true,  242,  3,  1},
    SCheckCase{"Record63",               0x63, 412, 3, 1, true,  true,  824,  3,  1},
    SCheckCase{"Record63Wrong",          0x63, 411, 3, 1, true,  false, 822,  3,  1},
    SCheckCase{"Record6ANever",          0x6A,  37, 3, 2, true,  false, 74,   3,  2},
    SCheckCase{"Record70Learns",         0x70,  40, 3, 1, false, true,  80,   4,  1},
    SCheckCase{"Record70Exact",          0x70,  39, 3, 1, true,  true,  78,   3,  1},
    SCheckCase{"Record80Exact",          0x80,  21, 3, 1, true,  true,  42,   3,  1},
    SCheckCase{"Record81Rejected",       0x81,  21, 3, 1, false, false, 42,   3,  1},
    SCheckCase{"RecordFFRejected",       0xFF,  21, 3, 1, false, false, 42,   3,  1},
    SCheckCase{"RecordFDRejected",       0xFD,  24, 3, 1, false, false, 48,   3,  1}),
    [](const auto& info) { return std::string(info.param.pName); });
// clang-format on

TEST(CheckRecordSize, CountsChangedBetweenChecksSizeTheNextCheck) {
    SRecordGeometry geometry;
    geometry.bUserConfigValid = true;
    const std::array<std::uint8_t, 4> velocity = {0xA5, 0x10, 0, 0};
    const std::array<std::uint8_t, 4> profile = {0xA5, 0x21, 52, 0};  // 104 bytes
    EXPECT_EQ(geometry.CheckRecordSize(velocity).nSize, 24u);
    EXPECT_FALSE(geometry.CheckRecordSize(profile).bAccepted);
    geometry.nBeams = 2;
    geometry.nCells = 12;
    EXPECT_EQ(geometry.CheckRecordSize(velocity).nSize, 20u);
    EXPECT_TRUE(geometry.CheckRecordSize(profile).bAccepted);
    geometry.bUserConfigValid = false;
    EXPECT_TRUE(geometry.CheckRecordSize(profile).bAccepted);
    EXPECT_EQ(geometry.nBeams, 3);  // learnt from the profile's size
}

}  // namespace
}  // namespace sulvan
