#include "CQtUserInterface.hpp"

#include <QApplication>
#include <QGuiApplication>

#include "CTextProgressCtrl.hpp"
#include "app/ProgramInfo.hpp"

namespace sulvan::gui {
namespace {

// Draws what is waiting to be drawn, without taking a click or a key press in the middle of
// the work.
void PaintPending() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

CQtUserInterface::CQtUserInterface(QWidget* pParent, CTextProgressCtrl& progress)
    : m_pParent(pParent), m_progress(progress) {}

void CQtUserInterface::ShowMessage(const std::string& strText) {
    Ask(strText, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool CQtUserInterface::AskOkCancel(const std::string& strText) {
    return Ask(strText, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
               QMessageBox::Cancel) == QMessageBox::Ok;
}

bool CQtUserInterface::AskYesNo(const std::string& strText) {
    return Ask(strText, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No) ==
           QMessageBox::Yes;
}

void CQtUserInterface::BeginWait() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    PaintPending();
}

void CQtUserInterface::EndWait() {
    QGuiApplication::restoreOverrideCursor();
}

void CQtUserInterface::SetProgress(int nPercent) {
    m_progress.SetPos(nPercent);
    PaintPending();
}

QMessageBox::StandardButton CQtUserInterface::Ask(const std::string& strText,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton,
                                                  QMessageBox::StandardButton escapeButton) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kProgramName),
                    QString::fromStdString(strText).replace(QLatin1Char('\r'), QLatin1Char('\n')),
                    buttons, m_pParent);
    // A path may hold '<' and '&': never take a message for markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    // The wait cursor is for the work, not for a question in the middle of it.
    const bool bWaiting = QGuiApplication::overrideCursor() != nullptr;
    if (bWaiting) {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    box.exec();
    if (bWaiting) {
        QGuiApplication::restoreOverrideCursor();
    }
    return box.standardButton(box.clickedButton());
}

}  // namespace sulvan::gui
