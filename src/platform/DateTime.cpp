#include "platform/DateTime.hpp"

#include <cmath>
#include <ctime>

namespace sulvan {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30, the zero of date-time values.
constexpr std::int64_t kUnixEpochInDateTime = 25569;
// Days from 1601-01-01, the zero of file-time stamps, to 1970-01-01.
constexpr std::int64_t kFileTimeEpochToUnix = 134774;
constexpr std::uint64_t kTicksPerMillisecond = 10000;

// Days since 1970-01-01 of a proleptic Gregorian date. Fields out of their ranges simply roll
// over (month 13 is January of the next year); the round trip in DateTimeFromFields rejects them.
constexpr std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    const std::int64_t monthsFromMarch = month - 3;
    year += monthsFromMarch >= 0 ? monthsFromMarch / 12 : (monthsFromMarch - 11) / 12;
    const std::int64_t monthOfYear = ((monthsFromMarch % 12) + 12) % 12;  // 0 = March
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * monthOfYear + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, SDateTimeFields& fields) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    fields.nDay = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    fields.nMonth = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    fields.nYear = static_cast<int>(yearOfEra + era * 400 + (fields.nMonth <= 2 ? 1 : 0));
}

int DaysInMonth(int nYear, int nMonth) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    return nMonth == 2 && bLeap ? 29 : kDays[nMonth - 1];
}

void SetTimeOfDay(std::int64_t seconds, SDateTimeFields& fields) {
    fields.nHour = static_cast<int>(seconds / 3600);
    fields.nMinute = static_cast<int>(seconds / 60 % 60);
    fields.nSecond = static_cast<int>(seconds % 60);
}

// Constant, so that values made during static initialisation elsewhere see them set.
constexpr double kFirstValue =
    static_cast<double>(DaysFromCivil(kFirstYear, 1, 1) + kUnixEpochInDateTime) - 1.0;
constexpr double kLastValue =
    static_cast<double>(DaysFromCivil(kLastYear + 1, 1, 1) + kUnixEpochInDateTime);

}  // namespace

bool SDateTimeFields::SameDateTime(const SDateTimeFields& other) const {
    return nYear == other.nYear && nMonth == other.nMonth && nDay == other.nDay &&
           nHour == other.nHour && nMinute == other.nMinute && nSecond == other.nSecond;
}

std::optional<double> DateTimeFromFields(const SDateTimeFields& fields) {
    const std::optional<double> date = DateFromFields(fields.nYear, fields.nMonth, fields.nDay);
    return date ? AtTimeOfDay(*date, fields.nHour, fields.nMinute, fields.nSecond) : std::nullopt;
}

// Fields come back from their value exactly when each lies in its range; checking the ranges
// spares the conversion back, which record walks would pay per record.
std::optional<double> DateFromFields(int nYear, int nMonth, int nDay) {
    if (nYear < kFirstYear || nYear > kLastYear || nMonth < 1 || nMonth > 12 || nDay < 1 ||
        nDay > DaysInMonth(nYear, nMonth)) {
        return std::nullopt;
    }
    return static_cast<double>(DaysFromCivil(nYear, nMonth, nDay) + kUnixEpochInDateTime);
}

bool IsTimeOfDay(int nHour, int nMinute, int nSecond) {
    return nHour >= 0 && nHour <= 23 && nMinute >= 0 && nMinute <= 59 && nSecond >= 0 &&
           nSecond <= 59;
}

std::optional<double> AtTimeOfDay(double dDate, int nHour, int nMinute, int nSecond) {
    if (!IsTimeOfDay(nHour, nMinute, nSecond)) {
        return std::nullopt;
    }
    const std::int64_t seconds = std::int64_t{nHour} * 3600 + std::int64_t{nMinute} * 60 + nSecond;
    const double dTime = static_cast<double>(seconds) / kSecondsPerDay;
    return dDate >= 0 ? dDate + dTime : dDate - dTime;
}

std::optional<SDateTimeFields> FieldsFromDateTime(double dValue) {
    if (!(dValue > kFirstValue && dValue < kLastValue)) {
        return std::nullopt;
    }
    auto days = static_cast<std::int64_t>(std::trunc(dValue));
    const double dFraction = std::fabs(dValue - static_cast<double>(days));
    auto seconds = static_cast<std::int64_t>(std::llround(dFraction * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++days;
    }
    SDateTimeFields fields;
    CivilFromDays(days - kUnixEpochInDateTime, fields);
    SetTimeOfDay(seconds, fields);
    if (fields.nYear < kFirstYear || fields.nYear > kLastYear) {
        return std::nullopt;
    }
    return fields;
}

double LinearDays(double dValue) {
    constexpr double kHalfSecond = 0.5 / kSecondsPerDay;
    if (dValue > -kHalfSecond) {
        return dValue;
    }
    return 2.0 * std::ceil(dValue) - dValue;
}

SDateTimeFields CurrentLocalFields() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    SDateTimeFields fields;
    fields.nYear = local.tm_year + 1900;
    fields.nMonth = local.tm_mon + 1;
    fields.nDay = local.tm_mday;
    fields.nHour = local.tm_hour;
    fields.nMinute = local.tm_min;
    fields.nSecond = local.tm_sec == 60 ? 59 : local.tm_sec;  // a leap second is no field value
    return fields;
}

double CurrentLocalDateTime() {
    return DateTimeFromFields(CurrentLocalFields()).value_or(0.0);
}

SDateTimeFields FieldsFromFileTime(std::uint64_t nTicks) {
    const std::uint64_t nMilliseconds = nTicks / kTicksPerMillisecond;
    const std::uint64_t nSeconds = nMilliseconds / 1000;
    SDateTimeFields fields;
    CivilFromDays(static_cast<std::int64_t>(nSeconds / kSecondsPerDay) - kFileTimeEpochToUnix,
                  fields);
    SetTimeOfDay(static_cast<std::int64_t>(nSeconds % kSecondsPerDay), fields);
    fields.nMillisecond = static_cast<int>(nMilliseconds % 1000);
    return fields;
}

double DateTimeFromFileTime(std::uint64_t nTicks) {
    constexpr double kTicksPerDay =
        static_cast<double>(kTicksPerMillisecond) * 1000.0 * static_cast<double>(kSecondsPerDay);
    return static_cast<double>(nTicks) / kTicksPerDay -
           static_cast<double>(kFileTimeEpochToUnix - kUnixEpochInDateTime);
}

}  // namespace sulvan
