#include "format/BcdClock.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace sulvan {
namespace {

struct SBcdCase {
    std::uint8_t nByte;
    int nValue;
};

class BcdToBinary : public ::testing::TestWithParam<SBcdCase> {};

TEST_P(BcdToBinary, ReadsTwoDigitsAndClampsAbove99) {
    EXPECT_EQ(BcdToBin(GetParam().nByte), GetParam().nValue);
}

INSTANTIATE_TEST_SUITE_P(Table, BcdToBinary,
                         ::testing::Values(SBcdCase{0x00, 0}, SBcdCase{0x09, 9}, SBcdCase{0x10, 10},
                                           SBcdCase{0x59, 59},
                                           SBcdCase{0x1A, 20},  // low nibble above 9 kept
                                           SBcdCase{0x0F, 15}, SBcdCase{0x99, 99},
                                           SBcdCase{0x9A, 99}, SBcdCase{0xA0, 99},
                                           SBcdCase{0xFF, 99}));

TEST(DecodeClock, ReadsMinuteSecondDayHourYearMonth) {
    const std::uint8_t clock[] = {0x59, 0x59, 0x31, 0x23, 0x99, 0x12};
    const SDateTimeFields fields = SplitClock(clock);
    EXPECT_EQ(fields.nYear, 1999);
    EXPECT_EQ(fields.nMonth, 12);
    EXPECT_EQ(fields.nDay, 31);
    EXPECT_EQ(fields.nHour, 23);
    EXPECT_EQ(fields.nMinute, 59);
    EXPECT_EQ(fields.nSecond, 59);
    const std::optional<double> value = DecodeClock(clock);
    ASSERT_TRUE(value.has_value());
    EXPECT_NEAR(*value, 36525.0 + 86399.0 / 86400.0, 1e-9);
}

TEST(DecodeClock, YearsBelow90AreThisCentury) {
    const std::uint8_t y89[] = {0, 0, 0x01, 0, 0x89, 0x01};
    const std::uint8_t y90[] = {0, 0, 0x01, 0, 0x90, 0x01};
    const std::uint8_t y00[] = {0, 0, 0x01, 0, 0x00, 0x01};
    EXPECT_EQ(SplitClock(y89).nYear, 2089);
    EXPECT_EQ(SplitClock(y90).nYear, 1990);
    EXPECT_EQ(SplitClock(y00).nYear, 2000);
    EXPECT_TRUE(DecodeClock(y89).has_value());
}

TEST(DecodeClock, FieldsOutOfRangeMakeTheStampInvalid) {
    const std::uint8_t month13[] = {0, 0, 0x01, 0, 0x08, 0x13};
    const std::uint8_t day32[] = {0, 0, 0x32, 0, 0x08, 0x01};
    const std::uint8_t hour24[] = {0, 0, 0x01, 0x24, 0x08, 0x01};
    const std::uint8_t minute60[] = {0x60, 0, 0x01, 0, 0x08, 0x01};
    const std::uint8_t february30[] = {0, 0, 0x30, 0, 0x08, 0x02};
    const std::uint8_t zeros[] = {0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SplitClock(month13).nMonth, 13);  // splitting does not validate
    for (const std::uint8_t* pClock : {month13, day32, hour24, minute60, february30, zeros}) {
        EXPECT_FALSE(DecodeClock(pClock).has_value());
    }
    EXPECT_FALSE(DecodeClock(kInvalidClock.data()).has_value());
}

TEST(CClockDecoder, DecodesEveryClockAsDecodeClockDoes) {
    // Repeats, changes, an invalid clock repeated, and a return to an earlier clock.
    const std::vector<ClockBytes> clocks = {
        {0x30, 0x15, 0x02, 0x10, 0x08, 0x01}, {0x30, 0x15, 0x02, 0x10, 0x08, 0x01},
        {0x30, 0x16, 0x02, 0x10, 0x08, 0x01}, {0x30, 0x16, 0x32, 0x10, 0x08, 0x01},
        {0x30, 0x16, 0x32, 0x10, 0x08, 0x01}, {0x30, 0x15, 0x02, 0x10, 0x08, 0x01}};
    CClockDecoder decoder;
    for (const ClockBytes& clock : clocks) {
        EXPECT_EQ(decoder.Decode(clock.data()), DecodeClock(clock.data()));
    }
}

TEST(EncodeClock, InvalidValuesBecomeAllNines) {
    EXPECT_EQ(EncodeClock(39448.0, true), kInvalidClock);
    EXPECT_EQ(EncodeClock(std::numeric_limits<double>::quiet_NaN()), kInvalidClock);
    EXPECT_EQ(EncodeClock(1e9), kInvalidClock);
    // Years outside two digits keep their last two: 1899-12-30 is year 99.
    EXPECT_EQ(EncodeClock(0.0), (ClockBytes{0x00, 0x00, 0x30, 0x00, 0x99, 0x12}));
}

}  // namespace
}  // namespace sulvan
