#pragma once
// sulvan-info: what each recording holds, without converting it or asking anything.

#include <iosfwd>
#include <string>
#include <vector>

namespace sulvan::info {

inline constexpr int kExitInspected = 0;  // every file was inspected
inline constexpr int kExitFailed = 1;     // some file could not be read as a recording
inline constexpr int kExitUsage = 2;

// Sizes a --plot PNG may have, in pixels.
inline constexpr int kMinPlotSize = 240;
inline constexpr int kMaxPlotWidth = 8192;
inline constexpr int kMaxPlotHeight = 8192;

// Parses the arguments and inspects the files; reports go to out, errors to err. Returns the
// exit status.
int RunInfo(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace sulvan::info
