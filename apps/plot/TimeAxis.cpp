#include "TimeAxis.hpp"

#include <cmath>
#include <cstdint>

#include "platform/DateTime.hpp"

namespace sulvan::plot {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// A clock read as exactly on a round time may come out a hair below it.
constexpr double kSecondEpsilon = 1e-3;

// Steps between marks, in seconds: round numbers on a clock and a calendar.
constexpr std::int64_t kSteps[] = {1,       2,       5,        10,      15,     30,     60,
                                   120,     300,     600,      900,     1800,   3600,   7200,
                                   10800,   21600,   43200,    86400,   172800, 604800, 1209600,
                                   2592000, 7776000, 15552000, 31536000};

QString TwoDigits(int nValue) {
    return QStringLiteral("%1").arg(nValue, 2, 10, QLatin1Char('0'));
}

QString DateText(const SDateTimeFields& fields) {
    return QStringLiteral("%1-%2-%3")
        .arg(fields.nYear, 4, 10, QLatin1Char('0'))
        .arg(TwoDigits(fields.nMonth), TwoDigits(fields.nDay));
}

QString TimeText(const SDateTimeFields& fields, bool bSeconds) {
    QString strText = TwoDigits(fields.nHour) + ':' + TwoDigits(fields.nMinute);
    return bSeconds ? strText + ':' + TwoDigits(fields.nSecond) : strText;
}

// The first column whose clocks reach dTime; -1 when none does.
int ColumnReaching(const SRecordingSummary& summary, double dTime) {
    for (int c = 0; c < summary.nColumns; ++c) {
        const SValueRange& time = summary.columns[static_cast<std::size_t>(c)].time;
        if (!time.IsEmpty() &&
            time.dMax * kSecondsPerDay >= dTime * kSecondsPerDay - kSecondEpsilon) {
            return c;
        }
    }
    return -1;
}

}  // namespace

std::vector<STimeTick> ChooseTimeTicks(const SRecordingSummary& summary, int nMaxTicks,
                                       int nMinColumns) {
    SValueRange span;
    for (const SSummaryColumn& column : summary.columns) {
        span.Add(column.time);
    }
    if (span.IsEmpty() || nMaxTicks < 1) {
        return {};
    }
    const double dFirst = span.dMin * kSecondsPerDay;
    const double dLast = span.dMax * kSecondsPerDay;
    std::int64_t nStep = kSteps[std::size(kSteps) - 1];
    for (const std::int64_t nCandidate : kSteps) {
        if ((dLast - dFirst) / static_cast<double>(nCandidate) < nMaxTicks) {
            nStep = nCandidate;
            break;
        }
    }
    const auto nFirstTick = static_cast<std::int64_t>(
        std::ceil((dFirst - kSecondEpsilon) / static_cast<double>(nStep)));
    std::vector<STimeTick> ticks;
    int nLastDay = -1;
    for (std::int64_t n = nFirstTick; static_cast<double>(n * nStep) <= dLast + kSecondEpsilon;
         ++n) {
        const double dTime = static_cast<double>(n * nStep) / kSecondsPerDay;
        const int nColumn = ColumnReaching(summary, dTime);
        const std::optional<SDateTimeFields> fields = FieldsFromDateTime(dTime);
        if (nColumn < 0 || !fields ||
            (!ticks.empty() && nColumn - ticks.back().nColumn < nMinColumns)) {
            continue;
        }
        STimeTick tick;
        tick.nColumn = nColumn;
        if (nStep < 86400) {
            tick.strTime = TimeText(*fields, nStep < 60);
        }
        const int nDay = static_cast<int>(std::floor(dTime));
        if (nDay != nLastDay || nStep >= 86400) {
            tick.strDate = DateText(*fields);
            nLastDay = nDay;
        }
        ticks.push_back(tick);
    }
    return ticks;
}

}  // namespace sulvan::plot
