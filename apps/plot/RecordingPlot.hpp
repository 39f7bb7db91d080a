#pragma once
// The picture of a quick look at a recording: a title with the file name, the instrument and
// its serial numbers; stacked panels of each beam's velocity and amplitude, the heading, pitch
// and roll, the temperature and the battery, each column drawn from the smallest to the largest
// value in it; damaged spans shaded across the panels, burst starts ticked above them, and a
// time axis in real dates. Painted with QPainter, so a QImage takes it without a display (the
// application object must exist, for the fonts).

#include <QImage>
#include <QPainter>
#include <QSize>
#include <optional>
#include <stop_token>
#include <string>

#include "PlotLayout.hpp"
#include "app/RecordingSummary.hpp"

namespace sulvan::plot {

// Said where the panels would be when a recording holds no data record.
inline constexpr const char* kNoDataText = "No data records in this recording: nothing to draw";

void PaintRecordingPlot(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout);

// The plot in an image of the given size. The summary draws best with PlotColumns(width)
// columns, one per pixel.
QImage DrawRecordingPlot(const SQuickLook& look, QSize size);

// What a quick look shows: the inspection, and the plot unless the file is no recording.
struct SQuickLookPicture {
    SRecordingInfo info;
    QImage image;  // null when info.strError says why there is none
};

// Looks at the recording in one pass and draws it in an image of the given size; empty when
// stop was requested first.
std::optional<SQuickLookPicture> DrawQuickLook(const std::string& strPath, QSize size,
                                               std::stop_token stop = {});

}  // namespace sulvan::plot
