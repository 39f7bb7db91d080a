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

TEST(DateTime, FileTimeStampsLandOnTheDateTimeScale) {
    // 100-nanosecond ticks from 1601-01-01 to 1899-12-30 and to 2010-05-17 13:45:30.250.
    EXPECT_EQ(DateTimeFromFileTime(94353120000000000), 0.0);
    const double dSecond = 1.0 / 86400;
    EXPECT_NEAR(DateTimeFromFileTime(129185775302500000),
                *DateTimeFromFields(Fields(2010, 5, 17, 13, 45, 30)) + 0.25 * dSecond,
                1e-3 * dSecond);
}

}  // namespace
}  // namespace sulvan
