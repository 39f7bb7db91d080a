#include "netcdf/IsoTime.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "platform/DateTime.hpp"

namespace sulvan {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kUnixEpochInDateTime = 25569.0;  // 1970-01-01

// Up to microseconds, without trailing zeros; empty for whole seconds.
std::string FractionText(double dFraction) {
    char text[16];
    std::snprintf(text, sizeof text, "%.6f", dFraction);
    std::string strText(text + 1);  // from the point on
    while (!strText.empty() && (strText.back() == '0' || strText.back() == '.')) {
        strText.pop_back();
    }
    return strText;
}

}  // namespace

std::string FormatIsoDateTime(double dDateTime, double dSeconds) {
    double dWhole = std::floor(dSeconds);
    double dFraction = dSeconds - dWhole;
    if (dFraction >= 0.9999995) {
        dWhole += 1.0;
        dFraction = 0.0;
    }
    const auto fields = FieldsFromDateTime(dDateTime + dWhole / kSecondsPerDay);
    if (!fields) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", fields->nYear, fields->nMonth,
                  fields->nDay, fields->nHour, fields->nMinute, fields->nSecond);
    return text + FractionText(dFraction);
}

std::string FormatIsoDuration(double dSeconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", dSeconds);
    std::string strNumber(text);
    while (strNumber.back() == '0') {
        strNumber.pop_back();
    }
    if (strNumber.back() == '.') {
        strNumber.pop_back();
    }
    return "PT" + strNumber + "S";
}

double CurrentUtcDateTime() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double dSeconds = std::chrono::duration<double>(now).count();
    return kUnixEpochInDateTime + std::floor(dSeconds) / kSecondsPerDay;
}

}  // namespace sulvan
