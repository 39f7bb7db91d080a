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

}  // namespace
}  // namespace sulvan
