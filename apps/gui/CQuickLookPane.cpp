#include "CQuickLookPane.hpp"

#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <sstream>

#include "InfoReport.hpp"
#include "RecordingPlot.hpp"
#include "platform/Path.hpp"

namespace sulvan::gui {
namespace {

constexpr int kMargin = 6;
constexpr int kPictureHeight = 330;
constexpr int kFigureLines = 6;

QString FileName(const std::string& strPath) {
    return QFile::decodeName(std::string(FileNameOf(strPath)).c_str());
}

// What sulvan-info reports, without its first line (the path, which the header shows).
QString KeyFigures(const SRecordingInfo& info) {
    std::ostringstream text;
    info::WriteText(info, text);
    const std::string strText = text.str();
    const std::size_t nFirstLineEnd = strText.find('\n');
    std::string strFigures = strText.substr(nFirstLineEnd + 1);
    while (!strFigures.empty() && strFigures.back() == '\n') {
        strFigures.pop_back();
    }
    return QString::fromLocal8Bit(strFigures);
}

}  // namespace

CQuickLookPane::CQuickLookPane(int nWidth, QWidget* pParent)
    : QWidget(pParent),
      m_pToggle(new QToolButton(this)),
      m_pStatus(new QLabel(this)),
      m_pBody(new QWidget(this)),
      m_pPicture(new QLabel(m_pBody)),
      m_pFigures(new QPlainTextEdit(m_pBody)),
      m_pictureSize(nWidth - 2 * kMargin, kPictureHeight) {
    setAccessibleName(QStringLiteral("Quick look"));
    m_pToggle->setText(QStringLiteral("&Quick look"));
    m_pToggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_pToggle->setAutoRaise(true);
    m_pToggle->setCheckable(true);
    m_pToggle->setChecked(true);
    m_pToggle->setArrowType(Qt::DownArrow);
    m_pToggle->setToolTip(QStringLiteral("Show or hide the quick look"));
    connect(m_pToggle, &QToolButton::toggled, this, [this](bool bShown) { Fold(!bShown); });
    m_pStatus->setTextFormat(Qt::PlainText);

    m_pPicture->setFixedSize(m_pictureSize);
    m_pPicture->setFrameShape(QFrame::StyledPanel);
    m_pPicture->setAlignment(Qt::AlignCenter);
    m_pFigures->setReadOnly(true);
    m_pFigures->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pFigures->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pFigures->setAccessibleName(QStringLiteral("Key figures"));
    m_pFigures->setFixedHeight(m_pFigures->fontMetrics().lineSpacing() * kFigureLines +
                               2 * m_pFigures->frameWidth() + kMargin);

    auto* pHeader = new QHBoxLayout;
    pHeader->addWidget(m_pToggle);
    pHeader->addWidget(m_pStatus, 1);
    auto* pBodyLayout = new QVBoxLayout(m_pBody);
    pBodyLayout->setContentsMargins(0, 0, 0, 0);
    pBodyLayout->addWidget(m_pPicture);
    pBodyLayout->addWidget(m_pFigures);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(kMargin, 0, kMargin, kMargin);
    pLayout->addLayout(pHeader);
    pLayout->addWidget(m_pBody);
    setFixedWidth(nWidth);

    // One worker: a look asked for while another runs waits until the other notices it was
    // dropped, which it does within a few thousand records.
    m_worker.setMaxThreadCount(1);
    m_startTimer.setSingleShot(true);
    connect(&m_startTimer, &QTimer::timeout, this, &CQuickLookPane::StartLook);
    ShowRecording({});
    Fold(false);
}

CQuickLookPane::~CQuickLookPane() {
    m_stop.request_stop();
    m_worker.clear();
    m_worker.waitForDone();
}

void CQuickLookPane::ShowRecording(const std::string& strPath) {
    m_strPath = strPath;
    m_startTimer.start(0);
}

QString CQuickLookPane::Figures() const {
    return m_pFigures->toPlainText();
}

bool CQuickLookPane::IsFolded() const {
    return m_pBody->isHidden();
}

void CQuickLookPane::StartLook() {
    m_stop.request_stop();
    m_stop = std::stop_source();
    m_worker.clear();
    const std::uint64_t nLook = ++m_nLook;
    m_picture = QImage();
    m_pPicture->clear();
    m_pFigures->clear();
    if (m_strPath.empty()) {
        m_pStatus->setText(
            QStringLiteral("Select one recording of the files to convert to see "
                           "it here."));
        return;
    }
    if (IsFolded()) {
        m_pStatus->setText(FileName(m_strPath));
        return;
    }
    m_pStatus->setText(QStringLiteral("Reading %1...").arg(FileName(m_strPath)));
    m_worker.start(
        [this, nLook, strPath = m_strPath, size = m_pictureSize, stop = m_stop.get_token()] {
            std::optional<plot::SQuickLookPicture> look = plot::DrawQuickLook(strPath, size, stop);
            if (!look) {
                return;
            }
            // Handed to the window's thread; dropped there when a newer look was asked for, and by
            // Qt when the pane is gone.
            QMetaObject::invokeMethod(
                this, [this, nLook, picture = std::move(*look)] { TakeLook(nLook, picture); },
                Qt::QueuedConnection);
        });
}

void CQuickLookPane::TakeLook(std::uint64_t nLook, const plot::SQuickLookPicture& look) {
    if (nLook != m_nLook) {
        return;
    }
    const QString strName = FileName(look.info.strPath);
    m_pStatus->setText(look.info.strError.empty() ? strName
                                                  : strName + QStringLiteral(": ") +
                                                        QString::fromLocal8Bit(look.info.strError));
    m_picture = look.image;
    m_pPicture->setPixmap(QPixmap::fromImage(m_picture));
    m_pFigures->setPlainText(KeyFigures(look.info));
}

void CQuickLookPane::Fold(bool bFolded) {
    m_pBody->setVisible(!bFolded);
    m_pToggle->setArrowType(bFolded ? Qt::RightArrow : Qt::DownArrow);
    adjustSize();
    emit HeightChanged();
    // A look is taken only while it can be seen.
    if (!bFolded && m_picture.isNull()) {
        m_startTimer.start(0);
    }
}

}  // namespace sulvan::gui
