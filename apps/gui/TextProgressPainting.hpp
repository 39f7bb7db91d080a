#pragma once
// How the text progress bar is drawn, apart from the widget that holds its state: the done part
// and the rest in two colours, and the percentage written across both, in one colour over the
// done part and in another over the rest, even inside a character that straddles the edge.
// Painting goes to any QPainter, so a QImage shows exactly what the screen would.

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace sulvan::gui {

enum ETextAlign {
    kAlignStart = 0,   // left, or top of a vertical bar
    kAlignCentre = 1,  // the default
    kAlignEnd = 2,     // right, or bottom of a vertical bar
};

// What one paint needs, with every colour resolved.
struct STextProgressLook {
    int nLower = 0;
    int nUpper = 100;
    int nPos = 0;
    bool bShowText = true;
    QString strWindowText;  // written ahead of the percentage
    int nAlign = kAlignCentre;
    bool bVertical = false;  // fills from the bottom; the text runs down the bar
    bool bMarquee = false;   // a segment of nMarqueeSize percent runs along with the position
    int nMarqueeSize = 20;
    QColor crBar;
    QColor crBackground;
    QColor crText;       // over the rest
    QColor crTextOnBar;  // over the done part
};

// The position as a whole percentage of the range, halves rounded up. The range must not be
// empty.
int ProgressPercent(int nLower, int nUpper, int nPos);

// The window text followed, when shown, by the percentage ("37%").
QString ProgressText(const STextProgressLook& look);

// The done part of rc: from the left (the bottom when vertical) up to the position, or the
// marquee segment ending there; clipped to rc.
QRect DonePart(const QRect& rc, const STextProgressLook& look);

// Where text of the given size starts along a bar laid out left to right in rc: centred across,
// and at the start, the centre or the end along.
QPoint TextOrigin(const QRect& rc, const QSize& textSize, int nAlign);

// Paints the bar over all of rc; paints nothing when the range is empty.
void PaintTextProgress(QPainter& painter, const QRect& rc, const STextProgressLook& look);

}  // namespace sulvan::gui
