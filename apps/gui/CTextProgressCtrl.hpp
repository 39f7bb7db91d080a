#pragma once
// The progress bar of the main dialog: fills the done part and the rest in two colours and
// writes the percentage across the whole bar. It keeps its own range, position and step (a
// plain integer range, wrapping when stepped past either end) and repaints at once whenever
// one of them changes, so a position set in the middle of a long conversion shows before the
// conversion goes on.

#include <QColor>
#include <QFrame>
#include <QTimer>
#include <cstdint>

#include "TextProgressPainting.hpp"

namespace sulvan::gui {

struct SProgressRange {
    int nLower;
    int nUpper;
};

class CTextProgressCtrl : public QFrame {
    Q_OBJECT

  public:
    // The colour value that stands for the desktop's own colour of its role, looked up from the
    // palette at every paint: highlight for the bar, button face for the rest, window text for
    // the text over the rest, window (base) for the text over the bar.
    static inline const QColor kSystemColour{};

    explicit CTextProgressCtrl(QWidget* pParent = nullptr);

    // Both return the old limits packed as upper × 65536 + lower, 16 bits each. No repaint.
    std::uint32_t SetRange(std::int16_t nLower, std::int16_t nUpper);
    std::uint32_t SetRange32(int nLower, int nUpper);
    // The lower limit when bLower, else the upper; both into *pRange when given.
    int GetRange(bool bLower, SProgressRange* pRange = nullptr) const;

    // Each returns the old position. SetPos clamps to the limits (in marquee mode the top is
    // beyond the upper limit by the marquee size); StepIt wraps past either end.
    int SetPos(int nPos);
    int OffsetPos(int nOffset);
    int StepIt();
    int GetPos() const { return m_nPos; }
    int SetStep(int nStep);

    // Each returns the old value, kSystemColour included; the getters resolve it.
    QColor SetBarColour(const QColor& colour);
    QColor SetBkColour(const QColor& colour);
    QColor SetTextColour(const QColor& colour);
    QColor SetTextBkColour(const QColor& colour);
    QColor GetBarColour() const;
    QColor GetBkColour() const;
    QColor GetTextColour() const;
    QColor GetTextBkColour() const;

    bool SetShowText(bool bShow);
    int SetTextAlign(int nAlign);  // an ETextAlign
    void SetOrientation(Qt::Orientation orientation);

    // Switches to marquee mode (without the percentage) and starts or stops its timer. Returns
    // bOn.
    bool SetMarquee(bool bOn, int nIntervalMs);
    int SetMarqueeSize(int nPercent);

    // The state as the painting takes it, colours resolved.
    STextProgressLook Look() const;

  protected:
    void paintEvent(QPaintEvent* pEvent) override;

  private:
    QColor Resolved(const QColor& colour, QPalette::ColorRole role) const;
    QColor Replace(QColor& member, const QColor& colour);
    int MarqueeTop() const;
    void MoveMarquee();

    bool m_bShowText = true;
    QColor m_crBar = kSystemColour;
    QColor m_crBackground = kSystemColour;
    QColor m_crText = kSystemColour;
    QColor m_crTextOnBar = kSystemColour;
    int m_nAlign = kAlignCentre;
    int m_nPos = 0;
    int m_nStep = 10;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nMarqueeSize = 20;
    bool m_bMarquee = false;
    int m_nMarqueeDirection = 1;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QTimer m_marqueeTimer;
};

}  // namespace sulvan::gui
