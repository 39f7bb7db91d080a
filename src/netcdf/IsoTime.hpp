#pragma once
// Date-times and durations as ISO 8601 text, as CF time units and the ACDD coverage attributes
// write them.

#include <string>

namespace sulvan {

// "2008-01-01T12:00:00", or with the fraction of a second ("...T12:00:03.5"), for a date-time
// value (days since 1899-12-30) plus dSeconds. No zone: recording clocks do not tell theirs.
std::string FormatIsoDateTime(double dDateTime, double dSeconds = 0.0);

// "PT3.5S"
std::string FormatIsoDuration(double dSeconds);

// The present moment in UTC as a date-time value.
double CurrentUtcDateTime();

}  // namespace sulvan
