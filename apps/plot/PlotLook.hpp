#pragma once
// The colours and type sizes of the recording plot, in one place for the painting and for the
// tests that look at its pixels.

#include <QColor>
#include <array>

namespace sulvan::plot {

inline const QColor kBackground(255, 255, 255);
inline const QColor kPanelFrame(160, 160, 160);
inline const QColor kGrid(232, 232, 232);
inline const QColor kText(40, 40, 40);
inline const QColor kSubtleText(110, 110, 110);
// Damaged spans: a light red over every panel, drawn before the data.
inline const QColor kDamageShade(250, 208, 208);
// Burst starts: ticks in the strip above the first panel.
inline const QColor kBurstTick(110, 60, 170);
// Beams 1 to 3.
inline const std::array<QColor, 3> kBeamColours = {QColor(31, 119, 180), QColor(255, 127, 14),
                                                   QColor(44, 160, 44)};
inline const QColor kHeadingColour(23, 140, 140);
inline const QColor kPitchColour(148, 103, 189);
inline const QColor kRollColour(140, 86, 75);
inline const QColor kTemperatureColour(214, 39, 40);
inline const QColor kBatteryColour(188, 139, 20);

// How much of a series' colour its band between the extremes takes, over the background.
inline constexpr int kBandAlpha = 110;

inline constexpr int kTitlePixels = 15;
inline constexpr int kSubtitlePixels = 12;
inline constexpr int kLabelPixels = 11;

}  // namespace sulvan::plot
