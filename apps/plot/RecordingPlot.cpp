#include "RecordingPlot.hpp"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <functional>

#include "PlotLook.hpp"
#include "TimeAxis.hpp"
#include "platform/DateTime.hpp"
#include "platform/Path.hpp"
#include "reader/FileFamily.hpp"

namespace sulvan::plot {
namespace {

// Time labels are at least this far apart, in pixels.
constexpr int kTimeLabelSpacing = 84;
constexpr int kTickLength = 4;
// A series with values in fewer than one column in this many is sparse.
constexpr int kSparseRatio = 8;

QFont Font(const QPainter& painter, int nPixels, bool bBold = false) {
    QFont font = painter.font();
    font.setPixelSize(nPixels);
    font.setBold(bBold);
    return font;
}

QString DateTimeText(double dValue) {
    const std::optional<SDateTimeFields> f = FieldsFromDateTime(dValue);
    if (!f) {
        return QStringLiteral("?");
    }
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", f->nYear, f->nMonth, f->nDay,
                             f->nHour, f->nMinute, f->nSecond);
}

QString FromText(const std::string& strText) {
    return QString::fromLatin1(strText.data(), static_cast<qsizetype>(strText.size()));
}

// The title's second and third lines: the instrument, its serial numbers and its time; then
// what was drawn of it.
std::pair<QString, QString> Describe(const SQuickLook& look) {
    const SRecordingInfo& info = look.info;
    QStringList instrument(QString::fromUtf8(FamilyName(info.family.value_or(-1))));
    QStringList contents(QStringLiteral("%1 samples").arg(look.summary.nVelocitySamples));
    if (const std::optional<SFramedInfo>& framed = info.framed) {
        instrument << QStringLiteral("serials %1 / %2, firmware %3")
                          .arg(FromText(framed->strHardwareSerial), FromText(framed->strHeadSerial),
                               FromText(framed->strFirmware));
        if (framed->firstTime && framed->lastTime) {
            instrument << DateTimeText(*framed->firstTime) + QStringLiteral(" to ") +
                              DateTimeText(*framed->lastTime);
        }
        if (framed->nBursts > 0) {
            contents << QStringLiteral("%1 bursts").arg(framed->nBursts);
        }
        contents << (framed->damage.IsClean()
                         ? QStringLiteral("no damage")
                         : QStringLiteral("%1 bytes damaged in %2 spans (shaded)")
                               .arg(framed->damage.nSkippedBytes)
                               .arg(framed->damage.nSkippedSpans));
    }
    if (const std::optional<SCorvaneInfo>& corvane = info.corvane) {
        QStringList serials;
        for (const ProbeConfig& probe : corvane->config.probes) {
            serials << FromText(probe.strSerialNumber);
        }
        instrument << QStringLiteral("%1 probes: %2")
                          .arg(corvane->config.probes.size())
                          .arg(serials.join(QStringLiteral(", ")));
        instrument << QStringLiteral("start ") +
                          DateTimeText(DateTimeFromFileTime(corvane->nStartTimeStamp));
        contents << (corvane->dataEndsAt
                         ? QStringLiteral("damaged from byte %1 (shaded)").arg(*corvane->dataEndsAt)
                         : QStringLiteral("no damage"));
    }
    const QString strSeparator = QStringLiteral("  ·  ");
    return {instrument.join(strSeparator), contents.join(strSeparator)};
}

void PaintTitle(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout) {
    const QRect title = layout.title.adjusted(0, 2, 0, 0);
    painter.setPen(kText);
    painter.setFont(Font(painter, kTitlePixels, true));
    const int nFirstLine = QFontMetrics(painter.font()).height();
    painter.drawText(title, Qt::AlignLeft | Qt::AlignTop,
                     QFile::decodeName(std::string(FileNameOf(look.info.strPath)).c_str()));
    painter.setPen(kSubtleText);
    painter.setFont(Font(painter, kLabelPixels));
    painter.drawText(title, Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("columns in recording order"));
    painter.setFont(Font(painter, kSubtitlePixels));
    const QFontMetrics metrics(painter.font());
    painter.setPen(kText);
    const auto [strInstrument, strContents] = Describe(look);
    QRect line(title.left(), title.top() + nFirstLine, title.width(), metrics.height());
    for (const QString& strLine : {strInstrument, strContents}) {
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(strLine, Qt::ElideRight, title.width()));
        line.translate(0, metrics.height());
    }
}

QString ValueText(double dValue, double dStep) {
    int nDecimals = 0;
    for (double dScaled = dStep; nDecimals < 6; dScaled *= 10, ++nDecimals) {
        if (std::abs(dScaled - std::round(dScaled)) < 1e-6 * dScaled) {
            break;
        }
    }
    const double dShown = std::abs(dValue) < dStep * 1e-6 ? 0.0 : dValue;
    return QString::number(dShown, 'f', nDecimals);
}

// The grid, the value labels and, for velocities, the zero line.
void PaintPanelFrame(QPainter& painter, const SPlotPanel& panel) {
    painter.setFont(Font(painter, kLabelPixels));
    const QFontMetrics metrics(painter.font());
    const long long nFirst = std::llround(panel.dLow / panel.dStep);
    const long long nLast = std::llround(panel.dHigh / panel.dStep);
    for (long long n = nFirst; n <= nLast; ++n) {
        const double dValue = static_cast<double>(n) * panel.dStep;
        const int nY = panel.YOf(dValue);
        const bool bZero = panel.kind == EPanel::Velocity && n == 0;
        painter.setPen(bZero ? kPanelFrame : kGrid);
        painter.drawLine(panel.rect.left(), nY, panel.rect.right(), nY);
        painter.setPen(kSubtleText);
        // Kept beside the panel, clear of the labels of the panels above and below.
        const int nTop = std::clamp(nY - metrics.height() / 2, panel.rect.top() - 1,
                                    panel.rect.bottom() + 1 - metrics.height());
        const QRect label(0, nTop, panel.rect.left() - kTickLength - 2, metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, ValueText(dValue, panel.dStep));
    }
}

// One series of a panel: its colour and, per column, its range.
struct SSeries {
    QColor colour;
    std::function<SValueRange(int)> rangeOf;
};

// The light colour of a series' band: its own colour at kBandAlpha over the background, made
// opaque so that the picture keeps few colours.
QColor BandColour(const QColor& colour) {
    const auto mix = [](int nOver, int nUnder) {
        return (nOver * kBandAlpha + nUnder * (255 - kBandAlpha)) / 255;
    };
    return {mix(colour.red(), kBackground.red()), mix(colour.green(), kBackground.green()),
            mix(colour.blue(), kBackground.blue())};
}

enum class EStroke {
    Band,   // between a column's extremes, in the light colour
    Edges,  // the extremes themselves and the lines across empty columns, in the full colour
};

// Every column from its smallest to its largest value. A column joins the one before it
// (a step is drawn as a run, not as two dots), across empty columns by a line, but never across
// damage. The bands of all series go first and their edges over them, so that every series
// shows where they overlap. A series with values in few columns, such as the sensors of a short
// recording, is drawn in wider strokes so that a lone value still shows.
void PaintSeries(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout,
                 const SPlotPanel& panel, const SSeries& series, EStroke stroke) {
    const std::vector<SSummaryColumn>& columns = look.summary.columns;
    int nFilled = 0;
    for (int c = 0; c < layout.nColumns; ++c) {
        nFilled += series.rangeOf(c).IsEmpty() ? 0 : 1;
    }
    const int nWiden = nFilled * kSparseRatio < layout.nColumns ? 1 : 0;
    const QColor band = BandColour(series.colour);
    painter.setPen(series.colour);
    int nPrevious = -1;
    SValueRange previous;
    bool bDamaged = false;
    for (int c = 0; c < layout.nColumns; ++c) {
        bDamaged = bDamaged || columns[static_cast<std::size_t>(c)].bDamaged;
        const SValueRange range = series.rangeOf(c);
        if (range.IsEmpty()) {
            continue;
        }
        double dLow = range.dMin;
        double dHigh = range.dMax;
        if (nPrevious >= 0 && !bDamaged) {
            if (nPrevious == c - 1) {
                dLow = std::min(dLow, previous.dMax);
                dHigh = std::max(dHigh, previous.dMin);
            } else if (stroke == EStroke::Edges) {
                painter.drawLine(layout.XOf(nPrevious) + layout.WidthOf(nPrevious) - 1,
                                 panel.YOf((previous.dMin + previous.dMax) / 2), layout.XOf(c),
                                 panel.YOf((range.dMin + range.dMax) / 2));
            }
        }
        const int nTop = panel.YOf(dHigh) - nWiden;
        const int nBottom = panel.YOf(dLow) + nWiden;
        const int nX = layout.XOf(c) - nWiden;
        const int nWidth = layout.WidthOf(c) + 2 * nWiden;
        if (stroke == EStroke::Band) {
            painter.fillRect(nX, nTop, nWidth, nBottom - nTop + 1, band);
        } else {
            painter.fillRect(nX, nTop, nWidth, 1 + nWiden, series.colour);
            painter.fillRect(nX, nBottom - nWiden, nWidth, 1 + nWiden, series.colour);
        }
        nPrevious = c;
        previous = range;
        bDamaged = false;
    }
}

// Right-aligned in the panel's caption row.
void PaintLegend(QPainter& painter, const SPlotPanel& panel,
                 const std::vector<std::pair<QString, QColor>>& entries) {
    painter.setFont(Font(painter, kLabelPixels));
    const QFontMetrics metrics(painter.font());
    int nX = panel.caption.right();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const int nText = metrics.horizontalAdvance(entry->first);
        nX -= nText;
        const QRect text(nX, panel.caption.top(), nText, panel.caption.height());
        painter.fillRect(QRect(nX - 11, text.center().y() - 3, 7, 7), entry->second);
        painter.setPen(kText);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, entry->first);
        nX -= 11 + 12;
    }
}

void PaintPanelTitle(QPainter& painter, const SPlotPanel& panel) {
    painter.setFont(Font(painter, kLabelPixels, true));
    painter.setPen(kText);
    painter.drawText(panel.caption, Qt::AlignLeft | Qt::AlignVCenter, panel.strTitle);
}

// The series a panel shows, the one drawn on top last.
std::vector<SSeries> SeriesOf(const SRecordingSummary& summary, const SPlotPanel& panel) {
    const auto sensor = [&summary](ESensor which) {
        return [&summary, which](int c) {
            return summary.columns[static_cast<std::size_t>(c)].Sensor(which);
        };
    };
    std::vector<SSeries> series;
    switch (panel.kind) {
        case EPanel::Velocity:
            for (std::size_t b = summary.nBeams; b-- > 0;) {
                series.push_back({kBeamColours[b], [&summary, &panel, b](int c) {
                                      return summary.Velocity(c, panel.nProbe, b);
                                  }});
            }
            break;
        case EPanel::Amplitude:
            for (std::size_t b = summary.nBeams; b-- > 0;) {
                series.push_back({kBeamColours[b], [&summary, b](int c) {
                                      SValueRange range;
                                      for (std::size_t p = 0; p < summary.nProbes; ++p) {
                                          range.Add(summary.Amplitude(c, p, b));
                                      }
                                      return range;
                                  }});
            }
            break;
        case EPanel::Heading:
            series.push_back({kHeadingColour, sensor(ESensor::Heading)});
            break;
        case EPanel::PitchRoll:
            series.push_back({kRollColour, sensor(ESensor::Roll)});
            series.push_back({kPitchColour, sensor(ESensor::Pitch)});
            break;
        case EPanel::Temperature:
            series.push_back({kTemperatureColour, sensor(ESensor::Temperature)});
            break;
        case EPanel::Battery:
            series.push_back({kBatteryColour, sensor(ESensor::Battery)});
            break;
    }
    return series;
}

void PaintPanel(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout,
                const SPlotPanel& panel) {
    const SRecordingSummary& summary = look.summary;
    painter.setClipRect(panel.rect);
    const std::vector<SSeries> series = SeriesOf(summary, panel);
    for (const SSeries& one : series) {
        PaintSeries(painter, look, layout, panel, one, EStroke::Band);
    }
    // Damage over the bands, under the edges: it shows, and so do the extremes beside it.
    for (int c = 0; c < layout.nColumns; ++c) {
        if (summary.columns[static_cast<std::size_t>(c)].bDamaged) {
            painter.fillRect(layout.XOf(c), panel.rect.top(), layout.WidthOf(c),
                             panel.rect.height(), kDamageShade);
        }
    }
    for (const SSeries& one : series) {
        PaintSeries(painter, look, layout, panel, one, EStroke::Edges);
    }
    painter.setClipping(false);
    PaintPanelTitle(painter, panel);
    std::vector<std::pair<QString, QColor>> legend;
    if (panel.kind == EPanel::Velocity || panel.kind == EPanel::Amplitude) {
        for (std::size_t b = 0; b < summary.nBeams; ++b) {
            legend.emplace_back(QStringLiteral("beam %1").arg(b + 1), kBeamColours[b]);
        }
    } else if (panel.kind == EPanel::PitchRoll) {
        legend = {{QStringLiteral("pitch"), kPitchColour}, {QStringLiteral("roll"), kRollColour}};
    }
    if (panel.nProbe == 0 && !legend.empty()) {
        PaintLegend(painter, panel, legend);
    }
    painter.setPen(kPanelFrame);
    painter.drawRect(panel.rect.adjusted(-1, -1, 0, 0));
}

void PaintDamageAndBursts(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout) {
    int nBurstColumns = 0;
    for (const SSummaryColumn& column : look.summary.columns) {
        nBurstColumns += column.nBurstStarts > 0 ? 1 : 0;
    }
    // Lone burst starts three pixels wide, so that they show; close ones as they are.
    const bool bWiden = nBurstColumns * kSparseRatio < layout.nColumns;
    for (int c = 0; c < layout.nColumns; ++c) {
        const SSummaryColumn& column = look.summary.columns[static_cast<std::size_t>(c)];
        if (column.bDamaged) {
            const int nX = layout.XOf(c);
            const int nWidth = layout.WidthOf(c);
            painter.fillRect(nX, layout.bursts.top(), nWidth, layout.bursts.height(), kDamageShade);
            if (!layout.notice.isEmpty()) {
                painter.fillRect(nX, layout.notice.top(), nWidth, layout.notice.height(),
                                 kDamageShade);
            }
        }
        if (column.nBurstStarts > 0) {
            const int nWiden = bWiden && layout.WidthOf(c) < 3 ? 1 : 0;
            painter.fillRect(layout.XOf(c) - nWiden, layout.bursts.top(),
                             layout.WidthOf(c) + 2 * nWiden, layout.bursts.height(), kBurstTick);
        }
    }
    if (nBurstColumns > 0) {
        painter.setPen(kSubtleText);
        painter.setFont(Font(painter, kLabelPixels - 1));
        painter.drawText(
            QRect(0, layout.bursts.top() - 3, layout.bursts.left() - 6, layout.bursts.height() + 6),
            Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("bursts"));
    }
}

void PaintTimeAxis(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout) {
    painter.setFont(Font(painter, kLabelPixels));
    const QFontMetrics metrics(painter.font());
    const int nColumnsApart =
        std::max(1, kTimeLabelSpacing * layout.nColumns / std::max(1, layout.data.width()));
    const std::vector<STimeTick> ticks = ChooseTimeTicks(
        look.summary, std::max(1, layout.data.width() / kTimeLabelSpacing), nColumnsApart);
    if (ticks.empty()) {
        painter.setPen(kSubtleText);
        painter.drawText(layout.axis, Qt::AlignCenter, QStringLiteral("no record clock"));
        return;
    }
    const int nTop = layout.axis.top();
    for (const STimeTick& tick : ticks) {
        const int nX = layout.XOf(tick.nColumn);
        painter.setPen(kGrid);
        for (const SPlotPanel& panel : layout.panels) {
            painter.drawLine(nX, panel.rect.top(), nX, panel.rect.bottom());
        }
        painter.setPen(kPanelFrame);
        painter.drawLine(nX, nTop, nX, nTop + kTickLength);
        painter.setPen(kText);
        const QRect label(nX - kTimeLabelSpacing / 2, nTop + kTickLength + 1, kTimeLabelSpacing,
                          metrics.height());
        const QString& strFirst = tick.strTime.isEmpty() ? tick.strDate : tick.strTime;
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, strFirst);
        if (!tick.strTime.isEmpty() && !tick.strDate.isEmpty()) {
            painter.setPen(kSubtleText);
            painter.drawText(label.translated(0, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                             tick.strDate);
        }
    }
}

}  // namespace

void PaintRecordingPlot(QPainter& painter, const SQuickLook& look, const SPlotLayout& layout) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintTitle(painter, look, layout);
    PaintDamageAndBursts(painter, look, layout);
    for (const SPlotPanel& panel : layout.panels) {
        PaintPanelFrame(painter, panel);
    }
    PaintTimeAxis(painter, look, layout);
    for (const SPlotPanel& panel : layout.panels) {
        PaintPanel(painter, look, layout, panel);
    }
    if (!layout.notice.isEmpty()) {
        painter.setPen(kPanelFrame);
        painter.drawRect(layout.notice.adjusted(-1, -1, 0, 0));
        painter.setPen(kText);
        painter.setFont(Font(painter, kSubtitlePixels));
        painter.drawText(layout.notice, Qt::AlignCenter, QString::fromUtf8(kNoDataText));
    }
}

QImage DrawRecordingPlot(const SQuickLook& look, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    PaintRecordingPlot(painter, look, LayOutPlot(look, size));
    return image;
}

std::optional<SQuickLookPicture> DrawQuickLook(const std::string& strPath, QSize size,
                                               std::stop_token stop) {
    std::optional<SQuickLook> look = LookAtRecording(strPath, PlotColumns(size.width()), stop);
    if (!look) {
        return std::nullopt;
    }
    SQuickLookPicture picture;
    if (look->info.strError.empty()) {
        picture.image = DrawRecordingPlot(*look, size);
    }
    picture.info = std::move(look->info);
    return picture;
}

}  // namespace sulvan::plot
