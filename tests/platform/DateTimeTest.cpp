#include "platform/DateTime.hpp"

#include <gtest/gtest.h>

#include <chrono>

#include <cmath>
#include <limits>

namespace sulvan {
namespace {

SDateTimeFields Fields(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SDateTimeFields fields;
    fields.nYear = y;
    fields.nMonth = mo;
    fields.nDay = d;
    fields.nHour = h;
    fields.nMinute = mi;
    fields.nSecond = s;
    return fields;
}

struct SKnownDate {
    SDateTimeFields fields;
    double dValue;
};

class DateTimeKnown : public ::testing::TestWithParam<SKnownDate> {};

TEST_P(DateTimeKnown, ConvertsBothWays) {
    const SKnownDate& known = GetParam();
    const std::optional<double> value = DateTimeFromFields(known.fields);
    ASSERT_TRUE(value.has_value());
    EXPECT_NEAR(*value, known.dValue, 1e-9);
    const std::optional<SDateTimeFields> back = FieldsFromDateTime(known.dValue);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(back->SameDateTime(known.fields))
        << back->nYear << "-" << back->nMonth << "-" << back->nDay << " " << back->nHour << ":"
        << back->nMinute << ":" << back->nSecond;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeKnown,
    ::testing::Values(
        SKnownDate{Fields(1899, 12, 30), 0.0}, SKnownDate{Fields(1899, 12, 31), 1.0},
        SKnownDate{Fields(1900, 1, 1), 2.0}, SKnownDate{Fields(1900, 2, 28), 60.0},
        SKnownDate{Fields(1900, 3, 1), 61.0}, SKnownDate{Fields(2000, 2, 29), 36585.0},
        SKnownDate{Fields(2008, 1, 1, 12), 39448.5},
        SKnownDate{Fields(1999, 12, 31, 23, 59, 59), 36525.0 + 86399.0 / 86400.0},
        // Before the zero the fraction is still the time of that day.
        SKnownDate{Fields(1899, 12, 29, 6), -1.25}, SKnownDate{Fields(1899, 12, 29), -1.0},
        SKnownDate{Fields(1899, 12, 28, 18), -2.75}, SKnownDate{Fields(1800, 1, 1), -36522.0},
        SKnownDate{Fields(100, 1, 1), -657434.0},
        SKnownDate{Fields(9999, 12, 31, 23, 59, 59), 2958465.0 + 86399.0 / 86400.0}));

class DateTimeInvalid : public ::testing::TestWithParam<SDateTimeFields> {};

TEST_P(DateTimeInvalid, FieldsThatDoNotComeBackAreRejected) {
    EXPECT_FALSE(DateTimeFromFields(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeInvalid,
    ::testing::Values(Fields(1999, 13, 1), Fields(1999, 0, 1), Fields(1999, 12, 32),
                      Fields(1999, 12, 0), Fields(1900, 2, 29), Fields(2001, 2, 29),
                      Fields(2000, 4, 31), Fields(1999, 12, 31, 24), Fields(1999, 12, 31, 23, 60),
                      Fields(1999, 12, 31, 23, 59, 60), Fields(1999, 12, 31, -1),
                      Fields(99, 12, 31), Fields(10000, 1, 1)));

// The calendar of the standard library decides which days exist.
TEST(DateTime, ExactlyTheDaysThatExistHaveValuesAndComeBackFromThem) {
    for (const int nYear : {100, 1899, 1900, 2000, 2024, 9999}) {
        for (int nMonth = 1; nMonth <= 12; ++nMonth) {
            for (int nDay = 0; nDay <= 32; ++nDay) {
                const SDateTimeFields fields =
                    Fields(nYear, nMonth, nDay, nDay % 24, 59, nDay % 60);
                const std::optional<double> value = DateTimeFromFields(fields);
                const std::chrono::year_month_day day{
                    std::chrono::year(nYear), std::chrono::month(static_cast<unsigned>(nMonth)),
                    std::chrono::day(static_cast<unsigned>(nDay))};
                ASSERT_EQ(value.has_value(), day.ok()) << nYear << "-" << nMonth << "-" << nDay;
                if (value) {
                    EXPECT_TRUE(FieldsFromDateTime(*value)->SameDateTime(fields));
                }
            }
        }
    }
}

TEST(DateTime, ValuesWithoutCalendarFieldsCannotBeSplit) {
    EXPECT_FALSE(FieldsFromDateTime(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(FieldsFromDateTime(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(FieldsFromDateTime(1e12).has_value());
    EXPECT_FALSE(FieldsFromDateTime(-1e12).has_value());
    EXPECT_FALSE(FieldsFromDateTime(2958466.0).has_value());  // 10000-01-01
}

TEST(DateTime, RoundsToTheNearestSecond) {
    const auto fields = FieldsFromDateTime(1.0 + 0.6 / 86400.0);
    ASSERT_TRUE(fields.has_value());
    EXPECT_TRUE(fields->SameDateTime(Fields(1899, 12, 31, 0, 0, 1)));
    const auto almostMidnight = FieldsFromDateTime(2.0 - 0.2 / 86400.0);
    ASSERT_TRUE(almostMidnight.has_value());
    EXPECT_TRUE(almostMidnight->SameDateTime(Fields(1900, 1, 1)));
}

TEST(DateTime, LinearDaysOrdersValuesBeforeTheZero) {
    EXPECT_DOUBLE_EQ(LinearDays(-1.25), -0.75);
    EXPECT_DOUBLE_EQ(LinearDays(-2.75), -1.25);
    EXPECT_DOUBLE_EQ(LinearDays(-1.0), -1.0);
    EXPECT_DOUBLE_EQ(LinearDays(0.25), 0.25);
    // Within half a second before the zero the value is taken as it is.
    EXPECT_DOUBLE_EQ(LinearDays(-0.4 / 86400.0), -0.4 / 86400.0);
    // 1899-12-28 18:00 < 1899-12-29 00:00 < 1899-12-29 06:00 < 1899-12-30 00:00.
    EXPECT_LT(LinearDays(-2.75), LinearDays(-1.0));
    EXPECT_LT(LinearDays(-1.0), LinearDays(-1.25));
    EXPECT_LT(LinearDays(-1.25), LinearDays(0.0));
}

TEST(DateTime, FileTimeStampsGiveCalendarFieldsWithMilliseconds) {
    const SDateTimeFields start = FieldsFromFileTime(129185775302500000ull);
    EXPECT_TRUE(start.SameDateTime(Fields(2010, 5, 17, 13, 45, 30)));
    EXPECT_EQ(start.nMillisecond, 250);
    EXPECT_TRUE(FieldsFromFileTime(0).SameDateTime(Fields(1601, 1, 1)));
    EXPECT_TRUE(FieldsFromFileTime(94354848000000000ull).SameDateTime(Fields(1900, 1, 1)));
    EXPECT_TRUE(FieldsFromFileTime(441480672000000000ull).SameDateTime(Fields(2999, 12, 31)));
    EXPECT_TRUE(FieldsFromFileTime(116444736000000000ull).SameDateTime(Fields(1970, 1, 1)));
}

TEST(DateTime, CurrentLocalTimeIsAValidDateTime) {
    const SDateTimeFields now = CurrentLocalFields();
    EXPECT_GE(now.nYear, 2024);
    EXPECT_TRUE(DateTimeFromFields(now).has_value());
    EXPECT_GT(CurrentLocalDateTime(), 45000.0);  // after 2023
}

}  // namespace
}  // namespace sulvan
