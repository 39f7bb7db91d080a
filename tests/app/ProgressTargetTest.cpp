#include "app/ProgressTarget.hpp"

#include <gtest/gtest.h>

#include <optional>

#include "CScriptedUserInterface.hpp"
#include "app/CSulvanFileDlg.hpp"

namespace sulvan {
namespace {

TEST(ProgressTarget, ReachesTheDialogRegisteredLastWhileItLives) {
    test::CScriptedUserInterface firstUi;
    test::CScriptedUserInterface secondUi;
    std::optional<CSulvanFileDlg> first(std::in_place, firstUi);
    SetProgress(42);
    {
        CSulvanFileDlg second(secondUi);
        SetProgress(64);
        // An earlier dialog ending leaves the later one registered.
        first.reset();
        SetProgress(100);
    }
    // No dialog: nothing to reach, and nothing breaks.
    SetProgress(5);
    EXPECT_EQ(firstUi.ProgressSteps(), std::vector<int>{42});
    EXPECT_EQ(secondUi.ProgressSteps(), (std::vector<int>{64, 100}));
}

}  // namespace
}  // namespace sulvan
