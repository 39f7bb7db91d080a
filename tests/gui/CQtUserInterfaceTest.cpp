#include "CQtUserInterface.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "CTextProgressCtrl.hpp"

namespace sulvan::gui {
namespace {

using Button = QMessageBox::StandardButton;

struct SBoxSeen {
    QString strText;
    Qt::TextFormat format = Qt::AutoText;
    Button defaultButton = QMessageBox::NoButton;
    Qt::CursorShape cursor = Qt::BlankCursor;  // the override cursor while it shows; none: blank
};

// Runs fnCall, which shows a message box, and answers the box with the button given.
SBoxSeen AnswerBox(Button answer, const std::function<void()>& fnCall) {
    SBoxSeen seen;
    QTimer::singleShot(0, [&] {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(pBox, nullptr);
        const QCursor* pCursor = QGuiApplication::overrideCursor();
        seen = {pBox->text(), pBox->textFormat(), pBox->standardButton(pBox->defaultButton()),
                pCursor != nullptr ? pCursor->shape() : Qt::BlankCursor};
        pBox->button(answer)->click();
    });
    fnCall();
    return seen;
}

TEST(CQtUserInterface, AsksInPlainTextWithTheFirstAnswerTheDefault) {
    CTextProgressCtrl bar;
    CQtUserInterface ui(nullptr, bar);
    const std::string strText = "/data/<run>.trs already exists.\rDo you want to replace it?";
    const QString strShown = "/data/<run>.trs already exists.\nDo you want to replace it?";
    struct SCase {
        std::function<bool()> fnAsk;
        Button answer;
        Button defaultButton;
        bool bResult;
    };
    const SCase cases[] = {
        {[&] { return ui.AskYesNo(strText); }, QMessageBox::Yes, QMessageBox::Yes, true},
        {[&] { return ui.AskYesNo(strText); }, QMessageBox::No, QMessageBox::Yes, false},
        {[&] { return ui.AskOkCancel(strText); }, QMessageBox::Ok, QMessageBox::Ok, true},
        {[&] { return ui.AskOkCancel(strText); }, QMessageBox::Cancel, QMessageBox::Ok, false},
        {[&] {
             ui.ShowMessage(strText);
             return true;
         },
         QMessageBox::Ok, QMessageBox::Ok, true},
    };
    for (const SCase& c : cases) {
        bool bResult = !c.bResult;
        const SBoxSeen seen = AnswerBox(c.answer, [&] { bResult = c.fnAsk(); });
        EXPECT_EQ(bResult, c.bResult);
        EXPECT_EQ(seen.strText, strShown);
        EXPECT_EQ(seen.format, Qt::PlainText);
        EXPECT_EQ(seen.defaultButton, c.defaultButton);
    }
}

}  // namespace
}  // namespace sulvan::gui
