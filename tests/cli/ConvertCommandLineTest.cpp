// sulvan-convert as a process: what the command line adds to the batch driver (its options and
// their errors, exit statuses, the split of standard output and error, the question policy), on
// recordings that sulvan-synth writes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

}  // namespace
}  // namespace sulvan
