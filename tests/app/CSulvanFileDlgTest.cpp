#include "app/CSulvanFileDlg.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "AppTestSupport.hpp"
#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using Names = std::vector<std::string>;

// Most tests add paths of files that do not exist: they all sort with start time 0 and keep
// the order given.

Names DisplayNames(const CSulvanFileDlg& dialog) {
    Names names;
    for (const SFileEntry& entry : dialog.m_listFiles) {
        names.push_back(entry.strDisplayName);
    }
    return names;
}

bool AllSelected(const CSulvanFileDlg& dialog) {
    return std::all_of(dialog.m_listFiles.begin(), dialog.m_listFiles.end(),
                       [](const SFileEntry& entry) { return entry.bSelected; });
}

TEST(CSulvanFileDlg, TheFolderOfTheFirstFileAddedBecomesTheDestination) {
    CScriptedUserInterface ui;
    CSulvanFileDlg dialog(ui);
    // A bare name has no folder to offer.
    dialog.AddFiles({"bare.trs"});
    EXPECT_EQ(dialog.m_strDestFolder, "");
    dialog.AddFiles({"/a/run1.trs", "/b/run2.trs"});
    EXPECT_EQ(dialog.m_strDestFolder, "/a");
    dialog.AddFiles({"/b/run3.trs"});
    EXPECT_EQ(dialog.m_strDestFolder, "/a");
}

TEST(CSulvanFileDlg, ANameListedAlreadyIsSkippedInAnyCaseOrFolder) {
    CScriptedUserInterface ui;
    CSulvanFileDlg dialog(ui);
    SAddResult result = dialog.AddFiles({"/a/run1.trs", "/b/RUN1.TRS", "/a/run2.trs"});
    EXPECT_EQ(result.duplicates, Names{"/b/RUN1.TRS"});
    result = dialog.AddFiles({"/b/Run2.Trs", "/a/run1.trs", "/b/run1.trsx"});
    EXPECT_EQ(result.duplicates, (Names{"/b/Run2.Trs", "/a/run1.trs"}));
    EXPECT_EQ(DisplayNames(dialog), (Names{"run1.trs", "run2.trs", "run1.trsx"}));
    EXPECT_EQ(dialog.m_listFiles[0].strFullPath, "/a/run1.trs");
}

TEST(CSulvanFileDlg, TakesTheFirst2048FilesAndCountsTheRest) {
    Names paths;
    for (int i = 0; i < 2050; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d.trs", i);
        paths.push_back(name);
    }
    // A skipped duplicate takes no place in the list.
    Names picked = paths;
    picked.insert(picked.begin() + 1, paths[0]);
    CScriptedUserInterface ui;
    CSulvanFileDlg dialog(ui);
    const SAddResult result = dialog.AddFiles(picked);
    EXPECT_EQ(result.nDropped, 2u);
    EXPECT_EQ(result.duplicates, Names{paths[0]});
    EXPECT_EQ(DisplayNames(dialog), Names(paths.begin(), paths.begin() + 2048));
    EXPECT_TRUE(AllSelected(dialog));

    EXPECT_EQ(dialog.AddFiles({"more.trs"}).nDropped, 1u);
    EXPECT_EQ(dialog.FileCount(), 2048u);
}

TEST(CSulvanFileDlg, SortsByTheClockAtByte784WithUndatedFilesFirst) {
    CTempDir dir;
    const std::string strJan = dir.Write("jan.trs", DatedRecording(MakeClock(2008, 1, 1, 0, 0, 0)));
    const std::string strDec =
        dir.Write("dec.trs", DatedRecording(MakeClock(2007, 12, 31, 0, 0, 0)));
    const std::string strLater =
        dir.Write("later.trs", DatedRecording(MakeClock(2007, 12, 31, 12, 0, 0)));
    Bytes shortHead = DatedRecording(MakeClock(2006, 1, 1, 0, 0, 0));
    shortHead.resize(803);
    const std::string strShort = dir.Write("short.trs", shortHead);
    for (const Names& picked : {Names{strJan, strShort, strDec}, Names{strDec, strJan, strShort}}) {
        CScriptedUserInterface ui;
        CSulvanFileDlg dialog(ui);
        dialog.AddFiles(picked);
        EXPECT_EQ(DisplayNames(dialog), (Names{"short.trs", "dec.trs", "jan.trs"}));
        // A file added later is sorted in among the earlier ones.
        dialog.AddFiles({strLater});
        EXPECT_EQ(DisplayNames(dialog), (Names{"short.trs", "dec.trs", "later.trs", "jan.trs"}));
    }
}

TEST(CSulvanFileDlg, RemoveTakesTheSelectedEntriesAndSelectAllSelectsEvery) {
    CScriptedUserInterface ui;
    CSulvanFileDlg dialog(ui);
    dialog.AddFiles({"a.trs", "b.trs", "c.trs"});
    dialog.m_listFiles[1].bSelected = false;
    dialog.RemoveSelected();
    EXPECT_EQ(DisplayNames(dialog), Names{"b.trs"});

    // Adding selects the entries listed before as well.
    dialog.AddFiles({"d.trs"});
    EXPECT_TRUE(AllSelected(dialog));
    dialog.m_listFiles[1].bSelected = false;
    dialog.SelectAll();
    EXPECT_TRUE(AllSelected(dialog));
    dialog.RemoveSelected();
    EXPECT_EQ(dialog.FileCount(), 0u);
}

}  // namespace
}  // namespace sulvan
