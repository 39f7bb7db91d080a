#pragma once
// The time axis of the recording plot. Columns go by position in the recording, so the axis
// is read off the clocks each column holds: a round time (every 5 minutes, every 6 hours, ...)
// is marked at the first column whose clocks reach it. Where the instrument slept between
// bursts, the marks close up; where it recorded without pause, they are evenly spaced.

#include <QString>
#include <vector>

#include "app/RecordingSummary.hpp"

namespace sulvan::plot {

struct STimeTick {
    int nColumn = 0;
    QString strTime;  // "12:05", "12:05:30"; empty for steps of days
    QString strDate;  // "2008-01-01" under the first mark and where the day changes
};

// Marks at least nMinColumns apart, as many as fit up to nMaxTicks; none when no column has a
// clock.
std::vector<STimeTick> ChooseTimeTicks(const SRecordingSummary& summary, int nMaxTicks,
                                       int nMinColumns);

}  // namespace sulvan::plot
