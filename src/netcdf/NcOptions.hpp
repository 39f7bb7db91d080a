#pragma once
// What a netCDF export is asked with.

#include <functional>
#include <string>

#include "netcdf/NcMetadata.hpp"

namespace sulvan {

struct SNcOptions {
    int nDeflateLevel = 1;  // 0 (none) to 9
    SNcMetadata metadata;
    // The metadata file the metadata came from, for messages about them; empty for none.
    std::string strMetadataFile;
    // The command line the conversion was asked with, for the history attribute.
    std::string strCommandLine;
    // Told the percentage of the recording walked, when it changes; may be empty.
    std::function<void(int)> progress;
};

}  // namespace sulvan
