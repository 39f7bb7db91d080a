#include "app/ProgressTarget.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "CScriptedUserInterface.hpp"
#include "app/CSulvanFileDlg.hpp"

namespace sulvan {
namespace {

TEST(ProgressTarget, ReachesTheDialogRegisteredLast) {
    test::CScriptedUserInterface firstUi;
    test::CScriptedUserInterface secondUi;
    {
        std::optional<CSulvanFileDlg> first(std::in_place, firstUi);
        SetProgress(42);
        EXPECT_EQ(first->m_nProgress, 42);
        first.reset();
        // No dialog: nothing to reach, and nothing breaks.
        SetProgress(7);
        CSulvanFileDlg second(secondUi);
        SetProgress(100);
        EXPECT_EQ(second.m_nProgress, 100);
    }
    SetProgress(5);
    EXPECT_EQ(firstUi.ProgressSteps(), std::vector<int>{42});
    EXPECT_EQ(secondUi.ProgressSteps(), std::vector<int>{100});
}

TEST(ProgressTarget, AnEarlierDialogEndingLeavesALaterOneRegistered) {
    test::CScriptedUserInterface firstUi;
    test::CScriptedUserInterface secondUi;
    std::optional<CSulvanFileDlg> first(std::in_place, firstUi);
    CSulvanFileDlg second(secondUi);
    first.reset();
    SetProgress(64);
    EXPECT_EQ(second.m_nProgress, 64);
}

}  // namespace
}  // namespace sulvan
