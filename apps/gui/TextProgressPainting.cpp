#include "TextProgressPainting.hpp"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cstdint>

namespace sulvan::gui {
namespace {

// ⌊nNumerator / nDenominator⌋ for a positive denominator. Exact where a product with a
// fraction in floating point would put 0.5 % a hair below a half.
std::int64_t FloorDivide(std::int64_t nNumerator, std::int64_t nDenominator) {
    const std::int64_t nQuotient = nNumerator / nDenominator;
    return nNumerator % nDenominator < 0 ? nQuotient - 1 : nQuotient;
}

// ⌊nLength × (position − lower) / (upper − lower)⌋, kept within 0 and nLength.
int FilledLength(int nLength, const STextProgressLook& look, int nPercentBeyond = 0) {
    const std::int64_t nSpan = std::int64_t{look.nUpper} - look.nLower;
    const std::int64_t nDone = std::int64_t{look.nPos} - look.nLower;
    const std::int64_t nFilled = FloorDivide(std::int64_t{nLength} * nDone, nSpan) -
                                 FloorDivide(std::int64_t{nLength} * nPercentBeyond, 100);
    return static_cast<int>(std::clamp<std::int64_t>(nFilled, 0, nLength));
}

void DrawTextClipped(QPainter& painter, const QRegion& clip, const QRect& rc,
                     const STextProgressLook& look, const QString& strText, const QColor& colour) {
    painter.save();
    painter.setClipRegion(clip);
    painter.setPen(colour);
    QRect rcAlong = rc;
    if (look.bVertical) {
        // Turned a quarter clockwise: the bar's top becomes the start of the line.
        painter.translate(rc.left() + rc.width(), rc.top());
        painter.rotate(90);
        rcAlong = QRect(0, 0, rc.height(), rc.width());
    }
    const QFontMetrics metrics(painter.font());
    const QSize size(metrics.horizontalAdvance(strText), metrics.height());
    painter.drawText(QRect(TextOrigin(rcAlong, size, look.nAlign), size),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, strText);
    painter.restore();
}

}  // namespace

int ProgressPercent(int nLower, int nUpper, int nPos) {
    const std::int64_t nSpan = std::int64_t{nUpper} - nLower;
    const std::int64_t nDone = std::int64_t{nPos} - nLower;
    // ⌊100 × done / span + 1/2⌋ = ⌊(200 × done + span) / (2 × span)⌋
    return static_cast<int>(FloorDivide(200 * nDone + nSpan, 2 * nSpan));
}

QString ProgressText(const STextProgressLook& look) {
    QString strText = look.strWindowText;
    if (look.bShowText) {
        strText += QStringLiteral("%1%").arg(ProgressPercent(look.nLower, look.nUpper, look.nPos));
    }
    return strText;
}

QRect DonePart(const QRect& rc, const STextProgressLook& look) {
    // Up to the position; in marquee mode only the segment that ends there.
    if (look.bVertical) {
        const int nTop = rc.top() + rc.height() - FilledLength(rc.height(), look);
        const int nBottom = look.bMarquee ? rc.top() + rc.height() -
                                                FilledLength(rc.height(), look, look.nMarqueeSize)
                                          : rc.top() + rc.height();
        return {rc.left(), nTop, rc.width(), nBottom - nTop};
    }
    const int nLeft =
        look.bMarquee ? rc.left() + FilledLength(rc.width(), look, look.nMarqueeSize) : rc.left();
    const int nRight = rc.left() + FilledLength(rc.width(), look);
    return {nLeft, rc.top(), nRight - nLeft, rc.height()};
}

QPoint TextOrigin(const QRect& rc, const QSize& textSize, int nAlign) {
    const int nY = (rc.height() - textSize.height()) / 2 + rc.top();
    switch (nAlign) {
        case kAlignStart:
            return {rc.left() + 2, nY};
        case kAlignEnd:
            return {rc.left() + rc.width() - textSize.width() - 3, nY};
        default:
            return {(rc.width() - textSize.width()) / 2 + rc.left(), nY};
    }
}

void PaintTextProgress(QPainter& painter, const QRect& rc, const STextProgressLook& look) {
    if (look.nLower >= look.nUpper) {
        return;
    }
    const QRect rcDone = DonePart(rc, look);
    const QRegion rest = QRegion(rc).subtracted(QRegion(rcDone));
    painter.fillRect(rcDone, look.crBar);
    for (const QRect& rcRest : rest) {
        painter.fillRect(rcRest, look.crBackground);
    }
    const QString strText = ProgressText(look);
    if (strText.isEmpty()) {
        return;
    }
    DrawTextClipped(painter, QRegion(rcDone), rc, look, strText, look.crTextOnBar);
    DrawTextClipped(painter, rest, rc, look, strText, look.crText);
}

}  // namespace sulvan::gui
