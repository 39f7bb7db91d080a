#pragma once
// The About box: the program's icon, one line naming the program and its version as the main
// window's title does, and OK.

#include <QDialog>

class QLabel;

namespace sulvan::gui {

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    CAboutDlg(const QString& strTitleLine, QWidget* pParent = nullptr);

    QString TitleLine() const;

  private:
    QLabel* m_pTitleLine;
};

}  // namespace sulvan::gui
