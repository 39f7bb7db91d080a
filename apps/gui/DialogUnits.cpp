#include "DialogUnits.hpp"

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace sulvan::gui {
namespace {

// The average over both alphabets, rounded, as dialog templates have always measured it.
int AverageCharWidth(const QFontMetrics& metrics) {
    const QString strAlphabets =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(strAlphabets) / 26 + 1) / 2;
}

// nUnits × nBase / nPerBase, rounded to the nearest pixel.
int Scale(int nUnits, int nBase, int nPerBase) {
    return (nUnits * nBase + nPerBase / 2) / nPerBase;
}

}  // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    m_nBaseX = AverageCharWidth(metrics);
    m_nBaseY = metrics.height();
}

int CDialogUnits::ToPixelsX(int nUnits) const {
    return Scale(nUnits, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int nUnits) const {
    return Scale(nUnits, m_nBaseY, 8);
}

QRect CDialogUnits::ToPixels(const SDialogRect& rect) const {
    return {ToPixelsX(rect.nX), ToPixelsY(rect.nY), ToPixelsX(rect.nWidth),
            ToPixelsY(rect.nHeight)};
}

}  // namespace sulvan::gui
