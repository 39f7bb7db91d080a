#pragma once
// Dialog units: positions and sizes measured in the dialog font, a quarter of its average
// character width across and an eighth of its height down, so a layout given in them scales
// with the font the desktop uses.

#include <QRect>

class QFont;

namespace sulvan::gui {

struct SDialogRect {
    int nX;
    int nY;
    int nWidth;
    int nHeight;
};

class CDialogUnits {
  public:
    explicit CDialogUnits(const QFont& font);

    int ToPixelsX(int nUnits) const;
    int ToPixelsY(int nUnits) const;
    QRect ToPixels(const SDialogRect& rect) const;

  private:
    int m_nBaseX;  // average character width
    int m_nBaseY;  // character height
};

}  // namespace sulvan::gui
