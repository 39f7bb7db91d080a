#pragma once
// Date-time values: doubles counting days since 1899-12-30 00:00, the time of day as the
// fraction. Before 1899-12-30 the whole part counts days back and the fraction is still the
// time of that day, so -1.25 is 1899-12-29 06:00; such values are not linear, see LinearDays.

#include <cstdint>
#include <optional>

namespace sulvan {

struct SDateTimeFields {
    int nYear = 0;  // four digits
    int nMonth = 0;
    int nDay = 0;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    // Carried alongside, never part of a date-time value (file-time stamps have it).
    int nMillisecond = 0;

    // Equal in the six calendar fields; milliseconds are not compared.
    bool SameDateTime(const SDateTimeFields& other) const;
};

// Years 100 to 9999 are representable; everything else is invalid.
inline constexpr int kFirstYear = 100;
inline constexpr int kLastYear = 9999;

// The value of calendar fields, valid only when converting it back gives exactly the same
// fields: month 13, day 32, hour 24, minute 60 and the like are invalid.
std::optional<double> DateTimeFromFields(const SDateTimeFields& fields);

// The same in steps, for callers that meet many times of one day: the value of a date at 00:00
// (empty for a date that does not exist or lies outside the years), whether a time of day is
// one, and the value of a time of day on a date.
std::optional<double> DateFromFields(int nYear, int nMonth, int nDay);
bool IsTimeOfDay(int nHour, int nMinute, int nSecond);
std::optional<double> AtTimeOfDay(double dDate, int nHour, int nMinute, int nSecond);

// Calendar fields of a value, rounded to the nearest second. Empty for values outside the
// representable years and for values that are not numbers.
std::optional<SDateTimeFields> FieldsFromDateTime(double dValue);

// The value on a linear day scale, for comparing values before 1899-12-30 (at or below half
// a second before it): v is taken as 2 * ceil(v) - v, so -1.25 (1899-12-29 06:00) is -0.75.
double LinearDays(double dValue);

// The local time now, as fields and as a value.
SDateTimeFields CurrentLocalFields();
double CurrentLocalDateTime();

// A file-time stamp: 100-nanosecond intervals since 1601-01-01 00:00:00, without any
// time-zone adjustment, as calendar fields with milliseconds.
SDateTimeFields FieldsFromFileTime(std::uint64_t nTicks);

// The date-time value of a file-time stamp from 1899-12-30 on (earlier stamps come out on the
// linear day scale of LinearDays).
double DateTimeFromFileTime(std::uint64_t nTicks);

}  // namespace sulvan
