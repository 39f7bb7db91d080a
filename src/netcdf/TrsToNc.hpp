#pragma once
// Tarsis velocimeter recordings to CF-1.8 / ACDD-1.3 netCDF-4, straight from the record walk,
// in memory that does not grow with the recording.

#include <string>

#include "netcdf/NcOptions.hpp"
#include "platform/FileOutcome.hpp"

namespace sulvan {

class CInsFile;

// Converts an opened Tarsis recording from its position to the end into strOutputPath (which
// ends in ".nc"): the file with the number of velocity samples written (none when no sample had
// a time), or failed on a file error (the file is left incomplete, closed as far as the library
// allows).
SFileOutcome TrsToNc(CInsFile& reader, const std::string& strOutputPath, const SNcOptions& options);

}  // namespace sulvan
