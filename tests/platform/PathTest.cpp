#include "platform/Path.hpp"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace sulvan {
namespace {

struct SSplitCase {
    const char* pPath;
    const char* pFolder;
    const char* pBase;
    const char* pExtension;
};

class PathSplit : public ::testing::TestWithParam<SSplitCase> {};

TEST_P(PathSplit, SplitsAtTheLastSeparatorAndTheNamesLastDot) {
    const SSplitCase& c = GetParam();
    const SSplitPath split = SplitPath(c.pPath);
    EXPECT_EQ(split.strFolder, c.pFolder);
    EXPECT_EQ(split.strBaseName, c.pBase);
    EXPECT_EQ(split.strExtension, c.pExtension);
    EXPECT_EQ(split.strFolder + split.strBaseName + split.strExtension, c.pPath);
    EXPECT_EQ(ExtensionOf(c.pPath), c.pExtension);
    EXPECT_EQ(std::string(WithoutExtension(c.pPath)), std::string(c.pFolder) + c.pBase);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathSplit,
    ::testing::Values(SSplitCase{"/data/dump.pld", "/data/", "dump", ".pld"},
                      SSplitCase{"/x/rec.trs", "/x/", "rec", ".trs"},
                      SSplitCase{"rec.trs", "", "rec", ".trs"},
                      SSplitCase{"/x/archive.tar.trs", "/x/", "archive.tar", ".trs"},
                      // A '.' in a folder name is not an extension.
                      SSplitCase{"runs/set.2/data", "runs/set.2/", "data", ""},
                      SSplitCase{"/x/run.adv.d/out", "/x/run.adv.d/", "out", ""},
                      // '\' and ':' are ordinary characters on this host.
                      SSplitCase{"C:\\data\\run1.trs", "", "C:\\data\\run1", ".trs"},
                      SSplitCase{"/x/a:b.trs", "/x/", "a:b", ".trs"},
                      SSplitCase{"/x/", "/x/", "", ""}, SSplitCase{"", "", "", ""}));

TEST(Path, JoinsWithOneSeparator) {
    EXPECT_EQ(JoinPath("/out", "run1.adv"), "/out/run1.adv");
    EXPECT_EQ(JoinPath("", "run1.adv"), "run1.adv");
}

TEST(Path, TellsWhenTwoNamesNameOneFile) {
    EXPECT_TRUE(IsSameFile("/data/run1.trs", "/data/./run1.trs"));
    EXPECT_FALSE(IsSameFile("/data/run1.trs", "/data/run1.adv"));
    const std::string strCurrent = std::filesystem::current_path().string();
    EXPECT_TRUE(IsSameFile("run1.trs", strCurrent + "/run1.trs"));
}

TEST(Path, FullPathsAreAbsoluteAndNormalised) {
    const std::string strCurrent = std::filesystem::current_path().string();
    EXPECT_EQ(MakeFullPath("run1.trs"), strCurrent + "/run1.trs");
    EXPECT_EQ(MakeFullPath("/data/./x/../run1.trs"), "/data/run1.trs");
    EXPECT_EQ(MakeFullPath("/data//run1.trs"), "/data/run1.trs");
    EXPECT_EQ(MakeFullPath("/data/out/"), "/data/out");
    EXPECT_EQ(MakeFullPath("/"), "/");
}

}  // namespace
}  // namespace sulvan
