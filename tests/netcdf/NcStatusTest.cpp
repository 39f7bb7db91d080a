#include "netcdf/NcStatus.hpp"

#include <gtest/gtest.h>
#include <netcdf.h>

namespace sulvan {
namespace {

struct SStatusCase {
    int nStatus;
    int nOsError;  // errno left behind by the call
    EFileCause cause;
    const char* pDescription;
};

class NcStatus : public ::testing::TestWithParam<SStatusCase> {};

TEST_P(NcStatus, GivesTheCauseAndTheLibrarysReason) {
    const FileError error = NcFileError(GetParam().nStatus, GetParam().nOsError, "/out/run.nc");
    EXPECT_EQ(error.Cause(), GetParam().cause);
    EXPECT_EQ(error.Description(), GetParam().pDescription);
    EXPECT_EQ(error.MessageFor("/out/run.nc"),
              std::string("/out/run.nc\r") + GetParam().pDescription);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, NcStatus,
    ::testing::Values(
        // Positive statuses are the OS's own error numbers.
        SStatusCase{ENOSPC, 0, EFileCause::DiskFull, "No space left on device"},
        SStatusCase{EACCES, ENOENT, EFileCause::AccessDenied, "Permission denied"},
        // HDF5 says only "HDF error"; the OS error left behind tells why.
        SStatusCase{NC_EHDFERR, ENOSPC, EFileCause::DiskFull,
                    "NetCDF: HDF error (No space left on device)"},
        SStatusCase{NC_EHDFERR, EIO, EFileCause::HardIo, "NetCDF: HDF error (Input/output error)"},
        SStatusCase{NC_EHDFERR, 0, EFileCause::Generic, "NetCDF: HDF error"},
        // A stale OS error does not explain a status no OS call raises.
        SStatusCase{NC_ENOMEM, ENOSPC, EFileCause::Generic,
                    "NetCDF: Memory allocation (malloc) failure"},
        SStatusCase{NC_EPERM, 0, EFileCause::AccessDenied, "NetCDF: Write to read only"},
        SStatusCase{NC_ENOTNC, 0, EFileCause::InvalidFile, "NetCDF: Unknown file format"}));

}  // namespace
}  // namespace sulvan
