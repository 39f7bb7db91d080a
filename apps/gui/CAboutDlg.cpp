#include "CAboutDlg.hpp"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "DialogUnits.hpp"
#include "Icons.hpp"
#include "app/ProgramInfo.hpp"

namespace sulvan::gui {
namespace {

constexpr SDialogRect kIcon = {11, 14, 21, 20};
constexpr SDialogRect kTitleLine = {40, 14, 188, 8};
constexpr SDialogRect kOk = {178, 34, 50, 14};
constexpr int kWidth = 235;
constexpr int kHeight = 55;

}  // namespace

CAboutDlg::CAboutDlg(const QString& strTitleLine, QWidget* pParent)
    : QDialog(pParent), m_pTitleLine(new QLabel(strTitleLine, this)) {
    setWindowTitle(QStringLiteral("About %1").arg(QString::fromUtf8(kProgramName)));
    const CDialogUnits units(font());
    auto* pIcon = new QLabel(this);
    const QRect rcIcon = units.ToPixels(kIcon);
    pIcon->setPixmap(ApplicationIcon().pixmap(std::min(rcIcon.width(), rcIcon.height())));
    pIcon->setGeometry(rcIcon);
    m_pTitleLine->setGeometry(units.ToPixels(kTitleLine));
    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setDefault(true);
    pOk->setGeometry(units.ToPixels(kOk));
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(units.ToPixelsX(kWidth), units.ToPixelsY(kHeight));
}

QString CAboutDlg::TitleLine() const {
    return m_pTitleLine->text();
}

}  // namespace sulvan::gui
