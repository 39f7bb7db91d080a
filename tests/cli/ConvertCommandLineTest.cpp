// sulvan-convert as a process: what the command line adds to the batch driver (its options and
// their errors, exit statuses, the split of standard output and error, the question policy), on
// recordings that sulvan-synth writes.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "CTempDir.hpp"
#include "ProcessRun.hpp"
#include "RecordBuilder.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using Names = std::vector<std::string>;
using Args = std::vector<std::string>;
namespace fs = std::filesystem;

class ConvertCommandLineTest : public ::testing::Test {
  protected:
    SProcessResult Convert(const Args& args) const {
        return RunProcess(SULVAN_CONVERT_PROGRAM, args, m_dir.Path());
    }

    // Writes a recording into the test's folder (a relative name).
    void Synth(const std::string& strName, Args args = {"--samples", "10"}) const {
        fs::create_directories(fs::path(m_dir.Path(strName)).parent_path());
        args.push_back(m_dir.Path(strName));
        const SProcessResult result = RunProcess(SULVAN_SYNTH_PROGRAM, args, m_dir.Path());
        ASSERT_EQ(result.nStatus, 0) << result.strErr;
    }

    // As a user without privileges, who cannot read what a mode forbids (root reads anything).
    // That user runs a copy in the test's folder: the build tree may be closed to it.
    SProcessResult ConvertUnprivileged(const Args& args) const {
        if (::geteuid() != 0) {
            return Convert(args);
        }
        fs::permissions(m_dir.Path(), fs::perms::all);
        const std::string strProgram = m_dir.Path("sulvan-convert");
        fs::copy_file(SULVAN_CONVERT_PROGRAM, strProgram);
        Args command = {"--reuid=65534", "--regid=65534", "--clear-groups", strProgram};
        command.insert(command.end(), args.begin(), args.end());
        return RunProcess("/usr/bin/setpriv", command, m_dir.Path());
    }

    CTempDir m_dir;
};

TEST_F(ConvertCommandLineTest, AFileThatCannotBeReadIsReportedWithTheReason) {
    Synth("locked.trs");
    Synth("good.trs");
    fs::create_directory(m_dir.Path("folder.trs"));
    fs::permissions(m_dir.Path("locked.trs"), fs::perms::none);
    const SProcessResult result = ConvertUnprivileged({"locked.trs", "folder.trs", "good.trs"});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "good.adv\n");
    EXPECT_EQ(result.strErr,
              "sulvan-convert: locked.trs: Permission denied\n"
              "sulvan-convert: folder.trs: Is a directory\n");
}

// The HDF5 library beneath the netCDF export crashed at the program's exit once a file's close
// had failed on a full disk: the process must still end with the failure's status.
TEST_F(ConvertCommandLineTest, ANetcdfFileOnAFullDiskEndsTheProgramWithStatusOne) {
#ifndef SULVAN_WITH_NETCDF
    GTEST_SKIP() << "built without the netCDF export";
#endif
    Synth("run.trs", {"--samples", "2000"});
    const std::string strDisk = m_dir.Path("disk");
    fs::create_directory(strDisk);
    // Room for the recording and one page more, which the output outgrows.
    const std::uintmax_t nInput = fs::file_size(m_dir.Path("run.trs"));
    const std::string strSize = "size=" + std::to_string((nInput + 4095) / 4096 * 4096 + 4096);
    if (::mount("tmpfs", strDisk.c_str(), "tmpfs", 0, strSize.c_str()) != 0) {
        GTEST_SKIP() << "no tmpfs can be mounted here to fill (" << std::strerror(errno) << ")";
    }
    fs::copy_file(m_dir.Path("run.trs"), m_dir.Path("disk/run.trs"));
    const SProcessResult result = Convert({"-t", "nc", "disk/run.trs"});
    ::umount2(strDisk.c_str(), MNT_DETACH);
    EXPECT_EQ(result.nStatus, 1) << result.strErr;
    EXPECT_NE(result.strErr.find(std::strerror(ENOSPC)), std::string::npos) << result.strErr;
}

}  // namespace
}  // namespace sulvan
