#include "CTextProgressCtrl.hpp"

#include <QPainter>
#include <utility>

namespace sulvan::gui {
namespace {

std::uint32_t PackedRange(int nLower, int nUpper) {
    return (static_cast<std::uint32_t>(nUpper) & 0xFFFFu) << 16 |
           (static_cast<std::uint32_t>(nLower) & 0xFFFFu);
}

}  // namespace

CTextProgressCtrl::CTextProgressCtrl(QWidget* pParent) : QFrame(pParent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    connect(&m_marqueeTimer, &QTimer::timeout, this, &CTextProgressCtrl::MoveMarquee);
}

std::uint32_t CTextProgressCtrl::SetRange(std::int16_t nLower, std::int16_t nUpper) {
    return SetRange32(nLower, nUpper);
}

std::uint32_t CTextProgressCtrl::SetRange32(int nLower, int nUpper) {
    const std::uint32_t nOld = PackedRange(m_nLower, m_nUpper);
    m_nLower = nLower;
    m_nUpper = nUpper;
    return nOld;
}

int CTextProgressCtrl::GetRange(bool bLower, SProgressRange* pRange) const {
    if (pRange != nullptr) {
        *pRange = {m_nLower, m_nUpper};
    }
    return bLower ? m_nLower : m_nUpper;
}

int CTextProgressCtrl::SetPos(int nPos) {
    const int nOld = m_nPos;
    m_nPos = nPos < m_nLower ? m_nLower : nPos;
    const int nTop = m_bMarquee ? MarqueeTop() : m_nUpper;
    if (m_nPos > nTop) {
        m_nPos = nTop;
    }
    repaint();
    return nOld;
}

int CTextProgressCtrl::OffsetPos(int nOffset) {
    return SetPos(m_nPos + nOffset);
}

int CTextProgressCtrl::StepIt() {
    const int nNext = m_nPos + m_nStep;
    if (nNext < m_nLower) {
        return SetPos(m_nUpper - (m_nLower - nNext));
    }
    if (nNext > m_nUpper) {
        return SetPos(m_nLower + (nNext - m_nUpper));
    }
    return SetPos(nNext);
}

int CTextProgressCtrl::SetStep(int nStep) {
    return std::exchange(m_nStep, nStep);
}

QColor CTextProgressCtrl::SetBarColour(const QColor& colour) {
    return Replace(m_crBar, colour);
}

QColor CTextProgressCtrl::SetBkColour(const QColor& colour) {
    return Replace(m_crBackground, colour);
}

QColor CTextProgressCtrl::SetTextColour(const QColor& colour) {
    return Replace(m_crText, colour);
}

QColor CTextProgressCtrl::SetTextBkColour(const QColor& colour) {
    return Replace(m_crTextOnBar, colour);
}

QColor CTextProgressCtrl::GetBarColour() const {
    return Resolved(m_crBar, QPalette::Highlight);
}

QColor CTextProgressCtrl::GetBkColour() const {
    return Resolved(m_crBackground, QPalette::Button);
}

QColor CTextProgressCtrl::GetTextColour() const {
    return Resolved(m_crText, QPalette::WindowText);
}

QColor CTextProgressCtrl::GetTextBkColour() const {
    return Resolved(m_crTextOnBar, QPalette::Base);
}

bool CTextProgressCtrl::SetShowText(bool bShow) {
    const bool bOld = std::exchange(m_bShowText, bShow);
    repaint();
    return bOld;
}

int CTextProgressCtrl::SetTextAlign(int nAlign) {
    const int nOld = std::exchange(m_nAlign, nAlign);
    repaint();
    return nOld;
}

void CTextProgressCtrl::SetOrientation(Qt::Orientation orientation) {
    m_orientation = orientation;
    repaint();
}

bool CTextProgressCtrl::SetMarquee(bool bOn, int nIntervalMs) {
    m_bMarquee = true;
    m_bShowText = false;
    if (bOn) {
        m_marqueeTimer.start(nIntervalMs);
    } else {
        m_marqueeTimer.stop();
    }
    repaint();
    return bOn;
}

int CTextProgressCtrl::SetMarqueeSize(int nPercent) {
    m_nMarqueeSize = nPercent;
    repaint();
    return nPercent;
}

STextProgressLook CTextProgressCtrl::Look() const {
    return {.nLower = m_nLower,
            .nUpper = m_nUpper,
            .nPos = m_nPos,
            .bShowText = m_bShowText,
            // The control's own text is its window title: none in this program.
            .strWindowText = windowTitle(),
            .nAlign = m_nAlign,
            .bVertical = m_orientation == Qt::Vertical,
            .bMarquee = m_bMarquee,
            .nMarqueeSize = m_nMarqueeSize,
            .crBar = GetBarColour(),
            .crBackground = GetBkColour(),
            .crText = GetTextColour(),
            .crTextOnBar = GetTextBkColour()};
}

void CTextProgressCtrl::paintEvent(QPaintEvent*) {
    // Qt paints every widget into one back buffer and shows it in one step, so the bar does
    // not flicker without a buffer of its own.
    QPainter painter(this);
    PaintTextProgress(painter, contentsRect(), Look());
    drawFrame(&painter);
}

QColor CTextProgressCtrl::Resolved(const QColor& colour, QPalette::ColorRole role) const {
    return colour.isValid() ? colour : palette().color(role);
}

QColor CTextProgressCtrl::Replace(QColor& member, const QColor& colour) {
    const QColor old = std::exchange(member, colour);
    repaint();
    return old;
}

int CTextProgressCtrl::MarqueeTop() const {
    return static_cast<int>(((m_nMarqueeSize + 100.0) * m_nUpper + 0.5) / 100.0);
}

void CTextProgressCtrl::MoveMarquee() {
    SetPos(m_nPos + m_nMarqueeDirection);
    if (m_nPos >= MarqueeTop()) {
        m_nMarqueeDirection = -1;
    } else if (m_nPos <= m_nLower) {
        m_nMarqueeDirection = 1;
    }
}

}  // namespace sulvan::gui
