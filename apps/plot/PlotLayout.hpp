#pragma once
// Where everything of the recording plot goes: the title, the strip where burst starts are
// ticked, one panel per series stacked over a shared time axis, and the values each panel
// spans. The painting places by it, and so do the tests that look at its pixels.

#include <QRect>
#include <QSize>
#include <QString>
#include <cstddef>
#include <vector>

#include "app/RecordingSummary.hpp"

namespace sulvan::plot {

enum class EPanel { Velocity, Amplitude, Heading, PitchRoll, Temperature, Battery };

struct SPlotPanel {
    EPanel kind = EPanel::Velocity;
    std::size_t nProbe = 0;  // whose velocities: each Corvane probe has a panel of its own
    QString strTitle;
    QRect caption;  // the row above the frame that holds the title and the legend
    QRect rect;     // the data area, inside the frame
    // The values at the bottom and the top edge of the data area, and the step between the
    // values labelled.
    double dLow = 0.0;
    double dHigh = 1.0;
    double dStep = 0.5;

    // The pixel row of a value.
    int YOf(double dValue) const;
};

struct SPlotLayout {
    QRect title;
    QRect bursts;  // the strip between the first panel's caption and its frame
    QRect data;    // the horizontal extent every panel shares, from the strip to the axis
    QRect axis;    // the time labels under the last panel
    std::vector<SPlotPanel> panels;
    QRect notice;  // where a recording with nothing to draw says so; empty otherwise
    int nColumns = 0;

    // The first pixel column of a summary column, and how many it spans (at least one).
    int XOf(int nColumn) const;
    int WidthOf(int nColumn) const;
};

// The summary columns a picture nWidth pixels wide draws: one per pixel of its data area.
int PlotColumns(int nWidth);

SPlotLayout LayOutPlot(const SQuickLook& look, QSize size);

}  // namespace sulvan::plot
