#include "app/CSulvanFileDlg.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "AppTestSupport.hpp"
#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"

namespace sulvan {
namespace {

using namespace test;
using Names = std::vector<std::string>;

class CSulvanFileDlgTest : public ::testing::Test {
  protected:
    // A file whose first data record is dated on the given day of January 2008 at noon.
    std::string WriteDated(const std::string& strName, int nDay, int nHour = 12) const {
        return m_dir.Write(strName, DatedRecording(MakeClock(2008, 1, nDay, nHour, 0, 0)));
    }

    std::string Folder(const std::string& strName) const {
        std::filesystem::create_directories(m_dir.Path(strName));
        return m_dir.Path(strName);
    }

    bool AllSelected() const {
        return std::all_of(m_dialog.m_listFiles.begin(), m_dialog.m_listFiles.end(),
                           [](const SFileEntry& entry) { return entry.bSelected; });
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CSulvanFileDlg m_dialog{m_ui};
};

TEST_F(CSulvanFileDlgTest, OpensWithChecksumControlOnAndTheFirstType) {
    EXPECT_TRUE(m_dialog.m_bChecksum);
    EXPECT_FALSE(m_dialog.m_bBurstFiles);
    EXPECT_EQ(m_dialog.m_nConversionType, ConversionType::MrvToAdv);
    EXPECT_TRUE(m_dialog.m_strDestFolder.empty());
    EXPECT_EQ(m_dialog.FileCount(), 0u);
}

TEST_F(CSulvanFileDlgTest, TheFolderOfTheFirstFileAddedBecomesTheDestination) {
    const std::string strA = Folder("a");
    const std::string strB = Folder("b");
    // A bare name has no folder to offer.
    m_dialog.AddFiles({"bare.trs"});
    EXPECT_EQ(m_dialog.m_strDestFolder, "");
    m_dialog.AddFiles({strA + "/run1.trs", strB + "/run2.trs"});
    EXPECT_EQ(m_dialog.m_strDestFolder, strA);
    m_dialog.AddFiles({strB + "/run3.trs"});
    EXPECT_EQ(m_dialog.m_strDestFolder, strA);

    CSulvanFileDlg chosen(m_ui);
    chosen.m_strDestFolder = strB;
    chosen.AddFiles({strA + "/run1.trs"});
    EXPECT_EQ(chosen.m_strDestFolder, strB);

    CSulvanFileDlg root(m_ui);
    root.AddFiles({"/run1.trs"});
    EXPECT_EQ(root.m_strDestFolder, "/");
}

TEST_F(CSulvanFileDlgTest, ANameListedAlreadyIsSkippedInAnyCaseOrFolder) {
    const std::string strA = Folder("a");
    const std::string strB = Folder("b");
    SAddResult result =
        m_dialog.AddFiles({strA + "/run1.trs", strB + "/RUN1.TRS", strA + "/run2.trs"});
    EXPECT_EQ(result.duplicates, Names{strB + "/RUN1.TRS"});
    EXPECT_EQ(result.nDropped, 0u);
    result = m_dialog.AddFiles(
        {strB + "/Run2.Trs", strA + "/run1.trs", strB + "/run1.trsx", strB + "/run3.trs"});
    EXPECT_EQ(result.duplicates, (Names{strB + "/Run2.Trs", strA + "/run1.trs"}));

    EXPECT_EQ(DisplayNames(m_dialog), (Names{"run1.trs", "run2.trs", "run1.trsx", "run3.trs"}));
    EXPECT_EQ(m_dialog.m_listFiles[0].strFullPath, strA + "/run1.trs");
    EXPECT_EQ(m_dialog.m_listFiles[1].strFullPath, strA + "/run2.trs");
    EXPECT_EQ(m_dialog.m_listFiles[3].strFullPath, strB + "/run3.trs");
}

TEST_F(CSulvanFileDlgTest, TakesTheFirst2048PathsAndCountsTheRest) {
    // Files that do not exist all sort with start time 0, so the list keeps the order given.
    std::vector<std::string> paths;
    for (int i = 0; i < 2050; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d.trs", i);
        paths.push_back(m_dir.Path(name));
    }
    SAddResult result = m_dialog.AddFiles(paths);
    ASSERT_EQ(m_dialog.FileCount(), 2048u);
    EXPECT_EQ(result.nDropped, 2u);
    EXPECT_TRUE(result.duplicates.empty());
    EXPECT_EQ(m_dialog.m_listFiles.front().strDisplayName, "f0000.trs");
    EXPECT_EQ(m_dialog.m_listFiles.back().strDisplayName, "f2047.trs");
    EXPECT_TRUE(AllSelected());

    result = m_dialog.AddFiles({m_dir.Path("more.trs")});
    EXPECT_EQ(result.nDropped, 1u);
    EXPECT_EQ(m_dialog.FileCount(), 2048u);

    // A skipped duplicate takes no place in the list.
    CSulvanFileDlg withDuplicate(m_ui);
    std::vector<std::string> first2049(paths.begin(), paths.begin() + 2048);
    first2049.insert(first2049.begin() + 1, paths[0]);
    result = withDuplicate.AddFiles(first2049);
    EXPECT_EQ(withDuplicate.FileCount(), 2048u);
    EXPECT_EQ(result.nDropped, 0u);
    EXPECT_EQ(result.duplicates, Names{paths[0]});
}

TEST_F(CSulvanFileDlgTest, SortsByTheClockAtByte784WithUndatedFilesFirst) {
    m_dir.Write("jan2008.trs", DatedRecording(MakeClock(2008, 1, 1, 0, 0, 0)));
    m_dir.Write("dec2007.trs", DatedRecording(MakeClock(2007, 12, 31, 0, 0, 0)));
    Bytes shortHead = DatedRecording(MakeClock(2006, 1, 1, 0, 0, 0));
    shortHead.resize(803);
    m_dir.Write("short.trs", shortHead);
    m_dir.Write("system.trs", DatedRecording(MakeClock(2006, 1, 1, 0, 0, 0), 0x11));
    m_dir.Write("badclock.trs", DatedRecording({0x00, 0x00, 0x01, 0x12, 0x06, 0x13}));
    const Names undated = {"badclock.trs", "missing.trs", "short.trs", "system.trs"};

    Names picked = {"badclock.trs", "dec2007.trs", "jan2008.trs",
                    "missing.trs",  "short.trs",   "system.trs"};
    do {
        CSulvanFileDlg dialog(m_ui);
        std::vector<std::string> paths;
        Names expected;
        for (const std::string& strName : picked) {
            paths.push_back(m_dir.Path(strName));
            if (std::find(undated.begin(), undated.end(), strName) != undated.end()) {
                expected.push_back(strName);
            }
        }
        expected.insert(expected.end(), {"dec2007.trs", "jan2008.trs"});
        dialog.AddFiles(paths);
        ASSERT_EQ(DisplayNames(dialog), expected) << ::testing::PrintToString(picked);
    } while (std::next_permutation(picked.begin(), picked.end()));
}

TEST_F(CSulvanFileDlgTest, EqualStartTimesKeepTheOrderOfAdding) {
    for (const char* pName : {"a.trs", "b.trs", "c.trs", "d.trs"}) {
        WriteDated(pName, 2);
    }
    WriteDated("early.trs", 1);
    m_dialog.AddFiles({m_dir.Path("c.trs"), m_dir.Path("a.trs"), m_dir.Path("b.trs")});
    m_dialog.AddFiles({m_dir.Path("d.trs"), m_dir.Path("early.trs")});
    EXPECT_EQ(DisplayNames(m_dialog), (Names{"early.trs", "c.trs", "a.trs", "b.trs", "d.trs"}));
}

TEST_F(CSulvanFileDlgTest, LaterFilesAreSortedAmongTheEarlierOnes) {
    m_dialog.AddFiles({WriteDated("third.trs", 3), WriteDated("first.trs", 1)});
    EXPECT_EQ(DisplayNames(m_dialog), (Names{"first.trs", "third.trs"}));
    m_dialog.AddFiles({WriteDated("second.trs", 2), WriteDated("fourth.trs", 4)});
    EXPECT_EQ(DisplayNames(m_dialog),
              (Names{"first.trs", "second.trs", "third.trs", "fourth.trs"}));
}

TEST_F(CSulvanFileDlgTest, ReadsEachFilesStartTimeOnlyWhenItIsAdded) {
    m_dialog.AddFiles({WriteDated("a.trs", 2), WriteDated("b.trs", 1)});
    ASSERT_EQ(DisplayNames(m_dialog), (Names{"b.trs", "a.trs"}));
    // Were the heads read again, b (now dated the 3rd) and a (now gone) would change places.
    WriteDated("b.trs", 3);
    std::filesystem::remove(m_dir.Path("a.trs"));
    m_dialog.AddFiles({WriteDated("c.trs", 2, 18)});
    EXPECT_EQ(DisplayNames(m_dialog), (Names{"b.trs", "a.trs", "c.trs"}));
}

TEST_F(CSulvanFileDlgTest, RemoveTakesTheSelectedEntriesAndSelectAllSelectsEvery) {
    m_dialog.AddFiles({WriteDated("a.trs", 1), WriteDated("b.trs", 2), WriteDated("c.trs", 3)});
    EXPECT_TRUE(AllSelected());
    for (SFileEntry& entry : m_dialog.m_listFiles) {
        entry.bSelected = false;
    }
    m_dialog.RemoveSelected();
    EXPECT_EQ(DisplayNames(m_dialog), (Names{"a.trs", "b.trs", "c.trs"}));

    m_dialog.m_listFiles[0].bSelected = true;
    m_dialog.m_listFiles[2].bSelected = true;
    m_dialog.RemoveSelected();
    EXPECT_EQ(DisplayNames(m_dialog), Names{"b.trs"});
    EXPECT_FALSE(m_dialog.m_listFiles[0].bSelected);

    // Adding selects the entries listed before as well.
    m_dialog.AddFiles({WriteDated("d.trs", 4)});
    EXPECT_TRUE(AllSelected());
    m_dialog.m_listFiles[1].bSelected = false;
    m_dialog.SelectAll();
    EXPECT_TRUE(AllSelected());
    m_dialog.RemoveSelected();
    EXPECT_EQ(m_dialog.FileCount(), 0u);
    EXPECT_TRUE(m_ui.Events().empty());
}

}  // namespace
}  // namespace sulvan
