#pragma once
// Statuses of the netCDF C library as file errors: every call of the library goes through
// CallNetcdf, so that no status is left unchecked.

#include <cerrno>
#include <string>

#include "platform/FileError.hpp"

namespace sulvan {

// The cause a status of the library stands for. Positive statuses are OS error numbers; a
// library status raised by a failed write (HDF5 says only "HDF error") takes the cause of the
// OS error number left behind, when there is one (nOsError, 0 for none).
EFileCause FileCauseFromNcStatus(int nStatus, int nOsError);

// The file error of a failed call: the library's nc_strerror text, with the OS reason after it
// when the OS error number gives the cause.
FileError NcFileError(int nStatus, int nOsError, const std::string& strPath);

// Runs one call of the library and throws its failure as a FileError about strPath.
template <typename Call>
void CallNetcdf(const std::string& strPath, Call call) {
    // The library does not clear errno; a stale value must not give a failure its cause.
    errno = 0;
    const int nStatus = call();
    if (nStatus != 0) {
        throw NcFileError(nStatus, errno, strPath);
    }
}

}  // namespace sulvan
