#include "netcdf/NcStatus.hpp"

#include <netcdf.h>

#include <cstring>

namespace sulvan {
namespace {

// Library statuses that a failing OS call below the library can raise.
bool MayHideOsError(int nStatus) {
    switch (nStatus) {
        case NC_EHDFERR:
        case NC_ECANTWRITE:
        case NC_ECANTCREATE:
        case NC_ECANTEXTEND:
        case NC_EFILEMETA:
        case NC_EDIMMETA:
        case NC_EATTMETA:
        case NC_EVARMETA:
        case NC_EIO:
            return true;
        default:
            return false;
    }
}

}  // namespace

EFileCause FileCauseFromNcStatus(int nStatus, int nOsError) {
    if (nStatus > 0) {
        return FileCauseFromErrno(nStatus);
    }
    if (MayHideOsError(nStatus) && nOsError > 0) {
        return FileCauseFromErrno(nOsError);
    }
    switch (nStatus) {
        case NC_NOERR:
            return EFileCause::None;
        case NC_EPERM:
            return EFileCause::AccessDenied;
        case NC_ENOTNC:
        case NC_ENOTNC4:
            return EFileCause::InvalidFile;
        default:
            return EFileCause::Generic;
    }
}

FileError NcFileError(int nStatus, int nOsError, const std::string& strPath) {
    std::string strDescription = nc_strerror(nStatus);
    const bool bOsCause = nStatus < 0 && MayHideOsError(nStatus) && nOsError > 0;
    if (bOsCause) {
        strDescription += std::string(" (") + std::strerror(nOsError) + ")";
    }
    const int nOsErrorKept = nStatus > 0 ? nStatus : (bOsCause ? nOsError : 0);
    return FileError::FromLibrary(FileCauseFromNcStatus(nStatus, nOsError), nOsErrorKept, strPath,
                                  strDescription);
}

}  // namespace sulvan
