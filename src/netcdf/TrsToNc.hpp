#pragma once
// Tarsis velocimeter recordings to CF-1.8 / ACDD-1.3 netCDF-4, straight from the record walk,
// in memory that does not grow with the recording.

#include <functional>
#include <string>

#include "netcdf/NcMetadata.hpp"
#include "platform/FileOutcome.hpp"

namespace sulvan {

class CInsFile;

struct SNcOptions {
    int nDeflateLevel = 1;  // 0 (none) to 9
    SNcMetadata metadata;
    // The command line the conversion was asked with, for the history attribute.
    std::string strCommandLine;
    // Told the percentage of the recording walked, when it changes; may be empty.
    std::function<void(int)> progress;
};

// Converts an opened Tarsis recording from its position to the end into strOutputPath (which
// ends in ".nc"): the file with the number of velocity samples written (none when no sample had
// a time), or failed on a file error (the file is left incomplete, closed as far as the library
// allows).
SFileOutcome TrsToNc(CInsFile& reader, const std::string& strOutputPath, const SNcOptions& options);

}  // namespace sulvan
