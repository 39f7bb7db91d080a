#include "PlotLayout.hpp"

#include <algorithm>
#include <cmath>

namespace sulvan::plot {
namespace {

// Margins: the left one holds the value labels, the top the title and the burst strip, the
// bottom the two lines of the time labels.
constexpr int kLeftMargin = 56;
constexpr int kRightMargin = 14;
constexpr int kTitleHeight = 52;
constexpr int kCaptionHeight = 15;
constexpr int kBurstStripHeight = 9;
constexpr int kAxisHeight = 36;
constexpr int kPanelGap = 3;
// Pixels per labelled value, at least.
constexpr int kPixelsPerStep = 26;

struct SPanelPlan {
    EPanel kind;
    std::size_t nProbe;
    int nWeight;  // share of the height
    SValueRange values;
};

// The height a panel needs to be read, by its share.
int SmallestHeight(const SPanelPlan& plan) {
    return 24 + 12 * plan.nWeight;
}

// Where the panels do not all fit, the sensors give way first, the velocities never.
int Importance(EPanel kind) {
    switch (kind) {
        case EPanel::Velocity:
            return 5;
        case EPanel::Amplitude:
            return 4;
        case EPanel::Temperature:
            return 3;
        case EPanel::PitchRoll:
            return 2;
        case EPanel::Heading:
            return 1;
        case EPanel::Battery:
            return 0;
    }
    return 0;
}

// Drops the least important panels until the others fit into nRoom pixels, captions included.
void FitPanels(std::vector<SPanelPlan>& plans, int nRoom) {
    const auto needed = [&plans] {
        int nHeight = 0;
        for (const SPanelPlan& plan : plans) {
            nHeight += SmallestHeight(plan) + kCaptionHeight + kPanelGap;
        }
        return nHeight;
    };
    while (needed() > nRoom) {
        const auto least = std::min_element(plans.begin(), plans.end(),
                                            [](const SPanelPlan& a, const SPanelPlan& b) {
                                                return Importance(a.kind) < Importance(b.kind);
                                            });
        if (least == plans.end() || least->kind == EPanel::Velocity) {
            return;
        }
        plans.erase(least);
    }
}

template <class TRangeOf>
SValueRange Over(const SRecordingSummary& summary, TRangeOf rangeOf) {
    SValueRange range;
    for (int c = 0; c < summary.nColumns; ++c) {
        range.Add(rangeOf(c));
    }
    return range;
}

SValueRange VelocityOf(const SRecordingSummary& summary, std::size_t nProbe) {
    return Over(summary, [&](int c) {
        SValueRange range;
        for (std::size_t b = 0; b < kSummaryBeams; ++b) {
            range.Add(summary.Velocity(c, nProbe, b));
        }
        return range;
    });
}

SValueRange AmplitudeOf(const SRecordingSummary& summary) {
    return Over(summary, [&](int c) {
        SValueRange range;
        for (std::size_t p = 0; p < summary.nProbes; ++p) {
            for (std::size_t b = 0; b < kSummaryBeams; ++b) {
                range.Add(summary.Amplitude(c, p, b));
            }
        }
        return range;
    });
}

SValueRange SensorOf(const SRecordingSummary& summary, ESensor sensor) {
    return Over(summary, [&](int c) { return summary.columns[std::size_t(c)].Sensor(sensor); });
}

std::vector<SPanelPlan> PlanPanels(const SRecordingSummary& summary) {
    std::vector<SPanelPlan> plans;
    const int nVelocityWeight = summary.nProbes > 1 ? 2 : 3;
    for (std::size_t p = 0; p < summary.nProbes; ++p) {
        plans.push_back({EPanel::Velocity, p, nVelocityWeight, VelocityOf(summary, p)});
    }
    plans.push_back({EPanel::Amplitude, 0, 2, AmplitudeOf(summary)});
    const SValueRange temperature = SensorOf(summary, ESensor::Temperature);
    if (temperature.IsEmpty()) {
        return plans;
    }
    if (summary.bCompass) {
        plans.push_back({EPanel::Heading, 0, 1, {0.0, 360.0}});
        SValueRange attitude = SensorOf(summary, ESensor::Pitch);
        attitude.Add(SensorOf(summary, ESensor::Roll));
        plans.push_back({EPanel::PitchRoll, 0, 1, attitude});
    }
    plans.push_back({EPanel::Temperature, 0, 1, temperature});
    plans.push_back({EPanel::Battery, 0, 1, SensorOf(summary, ESensor::Battery)});
    return plans;
}

// The smallest span a panel shows, so that a constant series sits in the middle of a scale
// that still means something.
double SmallestSpan(EPanel kind) {
    switch (kind) {
        case EPanel::Velocity:
            return 0.2;
        case EPanel::Amplitude:
            return 20.0;
        case EPanel::Battery:
            return 1.0;
        default:
            return 2.0;
    }
}

// 1, 2, 2.5 or 5 times a power of ten, near span / nSteps.
double NiceStep(double dSpan, int nSteps) {
    const double dRaw = dSpan / std::max(nSteps, 1);
    const double dMagnitude = std::pow(10.0, std::floor(std::log10(dRaw)));
    for (const double dFactor : {1.0, 2.0, 2.5, 5.0}) {
        if (dRaw <= dFactor * dMagnitude) {
            return dFactor * dMagnitude;
        }
    }
    return 10.0 * dMagnitude;
}

void FitValues(SPlotPanel& panel, const SValueRange& values) {
    if (panel.kind == EPanel::Heading) {
        panel.dLow = 0.0;
        panel.dHigh = 360.0;
        panel.dStep = panel.rect.height() >= 3 * kPixelsPerStep ? 90.0 : 180.0;
        return;
    }
    double dLow = values.IsEmpty() ? 0.0 : values.dMin;
    double dHigh = values.IsEmpty() ? 0.0 : values.dMax;
    const double dMargin = std::max((dHigh - dLow) * 0.05, 0.0);
    dLow -= dMargin;
    dHigh += dMargin;
    const double dShort = SmallestSpan(panel.kind) - (dHigh - dLow);
    if (dShort > 0) {
        dLow -= dShort / 2;
        dHigh += dShort / 2;
    }
    panel.dStep = NiceStep(dHigh - dLow, std::max(1, panel.rect.height() / kPixelsPerStep));
    panel.dLow = std::floor(dLow / panel.dStep) * panel.dStep;
    panel.dHigh = std::ceil(dHigh / panel.dStep) * panel.dStep;
}

QString TitleOf(EPanel kind, std::size_t nProbe, const SQuickLook& look) {
    switch (kind) {
        case EPanel::Velocity:
            if (!look.info.corvane) {
                return QStringLiteral("Velocity (m/s)");
            }
            return QStringLiteral("Velocity, probe %1 %2 (m/s)")
                .arg(nProbe)
                .arg(QString::fromStdString(
                    look.info.corvane->config.probes[nProbe].strSerialNumber));
        case EPanel::Amplitude:
            return look.info.corvane ? QStringLiteral("Amplitude, all probes (counts)")
                                     : QStringLiteral("Amplitude (counts)");
        case EPanel::Heading:
            return QStringLiteral("Heading (°)");
        case EPanel::PitchRoll:
            return QStringLiteral("Pitch and roll (°)");
        case EPanel::Temperature:
            return QStringLiteral("Temperature (°C)");
        case EPanel::Battery:
            return QStringLiteral("Battery (V)");
    }
    return {};
}

}  // namespace

int SPlotPanel::YOf(double dValue) const {
    const double dFraction = (dValue - dLow) / (dHigh - dLow);
    return rect.bottom() - static_cast<int>(std::lround(dFraction * (rect.height() - 1)));
}

int SPlotLayout::XOf(int nColumn) const {
    return data.left() +
           static_cast<int>(static_cast<long long>(nColumn) * data.width() / std::max(nColumns, 1));
}

int SPlotLayout::WidthOf(int nColumn) const {
    return std::max(1, XOf(nColumn + 1) - XOf(nColumn));
}

int PlotColumns(int nWidth) {
    return std::clamp(nWidth - kLeftMargin - kRightMargin, 1, kMaxSummaryColumns);
}

SPlotLayout LayOutPlot(const SQuickLook& look, QSize size) {
    const SRecordingSummary& summary = look.summary;
    SPlotLayout layout;
    layout.nColumns = summary.nColumns;
    const int nWidth = PlotColumns(size.width());
    layout.title = QRect(kLeftMargin, 0, nWidth, kTitleHeight);
    layout.bursts = QRect(kLeftMargin, kTitleHeight + kCaptionHeight, nWidth, kBurstStripHeight);
    const int nBottom = std::max(layout.bursts.bottom() + 2, size.height() - kAxisHeight);
    layout.data = QRect(kLeftMargin, layout.bursts.top(), nWidth, nBottom - layout.bursts.top());
    layout.axis = QRect(kLeftMargin, nBottom, nWidth, size.height() - nBottom);
    if (!summary.HasData()) {
        layout.notice = QRect(kLeftMargin, layout.bursts.bottom() + 2, nWidth,
                              nBottom - layout.bursts.bottom() - 2);
        return layout;
    }
    std::vector<SPanelPlan> plans = PlanPanels(summary);
    FitPanels(plans, nBottom - layout.bursts.top());
    int nWeights = 0;
    for (const SPanelPlan& plan : plans) {
        nWeights += plan.nWeight;
    }
    // The first panel's caption stands above the burst strip; every other one takes its own
    // room above its panel.
    const int nTop = layout.bursts.bottom() + 2;
    const auto nOthers = static_cast<int>(plans.size()) - 1;
    const int nRoom = nBottom - nTop - nOthers * (kPanelGap + kCaptionHeight);
    int nY = nTop;
    int nWeightsBefore = 0;
    for (const SPanelPlan& plan : plans) {
        SPlotPanel panel;
        panel.kind = plan.kind;
        panel.nProbe = plan.nProbe;
        panel.strTitle = TitleOf(plan.kind, plan.nProbe, look);
        const auto nBefore = static_cast<int>(layout.panels.size());
        if (nBefore > 0) {
            nY += kPanelGap + kCaptionHeight;
        }
        panel.caption = nBefore == 0
                            ? QRect(kLeftMargin, kTitleHeight, nWidth, kCaptionHeight)
                            : QRect(kLeftMargin, nY - kCaptionHeight, nWidth, kCaptionHeight);
        nWeightsBefore += plan.nWeight;
        const int nEnd =
            nTop + nRoom * nWeightsBefore / nWeights + nBefore * (kPanelGap + kCaptionHeight);
        panel.rect = QRect(kLeftMargin, nY, nWidth, std::max(1, nEnd - nY));
        FitValues(panel, plan.values);
        layout.panels.push_back(panel);
        nY = nEnd;
    }
    return layout;
}

}  // namespace sulvan::plot
