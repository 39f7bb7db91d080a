#pragma once
// The library's messages and questions as message boxes over the dialog, its wait as the
// desktop's wait cursor, its progress in the dialog's bar. Everything runs on the one thread
// of the window, conversions included; the bar and any window uncovered by a closed message
// box are repainted whenever the progress moves, so the dialog stays drawn while it works.

#include <QMessageBox>

#include "platform/CUserInterface.hpp"

namespace sulvan::gui {

class CTextProgressCtrl;

class CQtUserInterface : public CUserInterface {
  public:
    CQtUserInterface(QWidget* pParent, CTextProgressCtrl& progress);

    void ShowMessage(const std::string& strText) override;
    bool AskOkCancel(const std::string& strText) override;
    bool AskYesNo(const std::string& strText) override;
    void BeginWait() override;
    void EndWait() override;
    void SetProgress(int nPercent) override;

  private:
    QMessageBox::StandardButton Ask(const std::string& strText,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton,
                                    QMessageBox::StandardButton escapeButton);

    QWidget* m_pParent;
    CTextProgressCtrl& m_progress;
};

}  // namespace sulvan::gui
