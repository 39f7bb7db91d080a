#pragma once
// Pelora current-meter recordings to CF-1.8 / ACDD-1.3 netCDF-4, straight from the record walk,
// in memory that does not grow with the recording: the current records and, as the wave
// conversion groups them, the wave bursts.

#include <string>

#include "netcdf/NcOptions.hpp"
#include "platform/FileOutcome.hpp"

namespace sulvan {

class CInsFile;

// Converts an opened Pelora recording from its position to the end into strOutputPath: the
// file with the number of current records and wave samples written (none when no record had a
// time), or failed on a file error (the file is left incomplete, closed as far as the library
// allows).
SFileOutcome PldToNc(CInsFile& reader, const std::string& strOutputPath, const SNcOptions& options);

}  // namespace sulvan
