#include "CQuickLookPane.hpp"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "CScriptedUserInterface.hpp"
#include "CSulvanFileDlg.hpp"
#include "CTempDir.hpp"
#include "RecordBuilder.hpp"

namespace sulvan::gui {
namespace {

using namespace test;
using namespace records;

// Waits, handling the window's events, until the pane shows a picture or does not.
bool WaitForPicture(const CQuickLookPane& pane, bool bShown) {
    for (int i = 0; i < 500 && pane.Picture().isNull() == bShown; ++i) {
        QTest::qWait(10);
    }
    return pane.Picture().isNull() != bShown;
}

Bytes Recording(int nSamples) {
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration()).Add(SystemSample());
    for (int i = 0; i < nSamples; ++i) {
        recording.Add(VelocitySample());
    }
    return recording.Image();
}

TEST(CQuickLookPane, ShowsThePictureOfOneSelectedRecordingAndNothingForTwo) {
    CTempDir dir;
    CScriptedUserInterface ui;
    const std::vector<std::string> paths = {dir.Write("a.trs", Recording(50)),
                                            dir.Write("b.trs", Recording(80))};
    CSulvanFileDlg dialog(
        &ui, {[&](QWidget*) { return std::optional(paths); },
              [](QWidget*, const std::string&, const std::string& strAt) { return strAt; }});
    auto* pPane = dialog.findChild<CQuickLookPane*>();
    auto* pFiles = dialog.findChild<QListWidget*>();
    ASSERT_TRUE(pPane != nullptr && pFiles != nullptr);
    // Below everything the dialog had.
    for (const QWidget* pControl : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (pControl != pPane) {
            EXPECT_LE(pControl->geometry().bottom(), pPane->geometry().top());
        }
    }
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>()) {
        if (pButton->text() == "&Add file...") {
            pButton->click();
        }
    }
    ASSERT_EQ(pFiles->selectedItems().size(), 2);
    QTest::qWait(50);
    EXPECT_TRUE(pPane->Picture().isNull());

    pFiles->item(1)->setSelected(false);
    ASSERT_TRUE(WaitForPicture(*pPane, true));
    EXPECT_EQ(pPane->Picture().width(), pPane->width() - 12);
    EXPECT_NE(pPane->Figures().indexOf("records         0x10 velocity sample: 50,"), -1)
        << pPane->Figures().toStdString();

    pFiles->item(1)->setSelected(true);
    EXPECT_TRUE(WaitForPicture(*pPane, false));
    EXPECT_TRUE(pPane->Figures().isEmpty());

    // Folded, the pane leaves the window its original height and a header line.
    const int nUnfolded = dialog.height();
    pFiles->item(0)->setSelected(false);
    pPane->findChild<QAbstractButton*>()->click();
    EXPECT_TRUE(pPane->IsFolded());
    EXPECT_LT(dialog.height(), nUnfolded - 300);
    EXPECT_EQ(dialog.height(), pPane->geometry().bottom() + 1);
}

}  // namespace
}  // namespace sulvan::gui
