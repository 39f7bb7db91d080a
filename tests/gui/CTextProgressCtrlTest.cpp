#include "CTextProgressCtrl.hpp"

#include <gtest/gtest.h>

namespace sulvan::gui {
namespace {

TEST(CTextProgressCtrl, SetPosClampsToTheRangeAndReturnsTheOldPosition) {
    CTextProgressCtrl bar;
    struct SCase {
        int nSet, nStored;
    };
    int nOld = 0;
    for (const SCase c : {SCase{50, 50}, SCase{150, 100}, SCase{-5, 0}, SCase{100, 100}}) {
        EXPECT_EQ(bar.SetPos(c.nSet), nOld);
        EXPECT_EQ(bar.GetPos(), c.nStored) << c.nSet;
        nOld = c.nStored;
    }
    // A marquee runs on past the upper limit by its own size.
    bar.SetMarquee(false, 0);
    bar.SetPos(150);
    EXPECT_EQ(bar.GetPos(), 120);
}

TEST(CTextProgressCtrl, StepItWrapsPastEitherEnd) {
    CTextProgressCtrl bar;
    bar.SetPos(95);
    EXPECT_EQ(bar.StepIt(), 95);  // the default step is 10
    EXPECT_EQ(bar.GetPos(), 5);
    bar.SetStep(-10);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 95);
    EXPECT_EQ(bar.SetStep(1), -10);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 96);
}

TEST(CTextProgressCtrl, SystemColoursComeFromThePaletteAtEveryLook) {
    CTextProgressCtrl bar;
    QPalette palette = bar.palette();
    palette.setColor(QPalette::Highlight, Qt::darkGreen);
    palette.setColor(QPalette::Base, Qt::white);
    bar.setPalette(palette);
    EXPECT_EQ(bar.Look().crBar, QColor(Qt::darkGreen));
    EXPECT_EQ(bar.Look().crTextOnBar, QColor(Qt::white));
    EXPECT_EQ(bar.SetBarColour(Qt::red), CTextProgressCtrl::kSystemColour);
    EXPECT_EQ(bar.GetBarColour(), QColor(Qt::red));
    EXPECT_EQ(bar.SetBarColour(CTextProgressCtrl::kSystemColour), QColor(Qt::red));
    EXPECT_EQ(bar.GetBarColour(), QColor(Qt::darkGreen));
}

}  // namespace
}  // namespace sulvan::gui
