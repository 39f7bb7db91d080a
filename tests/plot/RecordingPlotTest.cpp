// The quick look drawn offscreen and looked at where it must show what the recording holds:
// the columns come from the places the records were written at.

#include "RecordingPlot.hpp"

#include <gtest/gtest.h>

#include "CTempDir.hpp"
#include "PaletteImage.hpp"
#include "PlotLook.hpp"
#include "RecordBuilder.hpp"

namespace sulvan::plot {
namespace {

using namespace test;
using namespace records;

const QSize kSize(600, 420);

struct SDrawn {
    QImage image;
    SQuickLook look;
    SPlotLayout layout;
};

SDrawn Draw(const std::string& strPath) {
    SDrawn drawn;
    drawn.image = DrawQuickLook(strPath, kSize)->image;
    drawn.look = *LookAtRecording(strPath, PlotColumns(kSize.width()));
    drawn.layout = LayOutPlot(drawn.look, kSize);
    return drawn;
}

// A row of the panel where nothing but its background is drawn at column x: clear of the grid
// and of the values given.
int EmptyRow(const SPlotPanel& panel, const std::vector<double>& values) {
    for (int y = panel.rect.top() + 2; y < panel.rect.bottom() - 2; ++y) {
        bool bClear = true;
        for (double d = panel.dLow; d <= panel.dHigh + panel.dStep / 2; d += panel.dStep) {
            bClear = bClear && std::abs(panel.YOf(d) - y) > 1;
        }
        for (const double dValue : values) {
            bClear = bClear && std::abs(panel.YOf(dValue) - y) > 1;
        }
        if (bClear) {
            return y;
        }
    }
    ADD_FAILURE() << "no empty row";
    return panel.rect.top();
}

TEST(RecordingPlot, ShadesTheDamageTicksTheBurstsAndDrawsEachVelocityAtItsHeight) {
    // Two bursts of 300 samples at constant velocities, 400 bytes of garbage in the first.
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration());
    std::vector<std::uint64_t> bursts;
    std::uint64_t nGarbage = 0;
    for (int nBurst = 0; nBurst < 2; ++nBurst) {
        bursts.push_back(recording.Size());
        recording.Add(VelocityHeader(MakeClock(2009, 3, 1, 6, 10 * nBurst, 0), 300));
        recording.Add(SystemSample({.clock = MakeClock(2009, 3, 1, 6, 10 * nBurst, 0)}));
        for (int i = 0; i < 300; ++i) {
            if (nBurst == 0 && i == 150) {
                nGarbage = recording.Size() + 200;
                recording.Garbage(400);
            }
            recording.Add(VelocitySample({{500, -300, 100}, {90, 100, 110}, {70, 70, 70}}));
        }
    }
    CTempDir dir;
    const SDrawn d = Draw(dir.Write("bursts.trs", recording.Image()));
    const SPlotLayout& layout = d.layout;
    const int nStrip = layout.bursts.center().y();
    const auto colourAt = [&](int nColumn, int nY) {
        return QColor(d.image.pixel(layout.XOf(nColumn), nY));
    };

    const int nDamaged = d.look.summary.ColumnOf(nGarbage);
    EXPECT_EQ(colourAt(nDamaged, nStrip), kDamageShade);
    const SPlotPanel& velocity = layout.panels.front();
    ASSERT_EQ(velocity.kind, EPanel::Velocity);
    EXPECT_EQ(colourAt(nDamaged, EmptyRow(velocity, {0.5, -0.3, 0.1})), kDamageShade);

    const int nSecondBurst = d.look.summary.ColumnOf(bursts[1]);
    EXPECT_EQ(colourAt(nSecondBurst, nStrip), kBurstTick);
    EXPECT_EQ(colourAt(nSecondBurst - 20, nStrip), kBackground);

    for (const int nColumn : {40, nDamaged - 30, nSecondBurst + 5, layout.nColumns - 40}) {
        SCOPED_TRACE(nColumn);
        EXPECT_EQ(colourAt(nColumn, velocity.YOf(0.5)), kBeamColours[0]);
        EXPECT_EQ(colourAt(nColumn, velocity.YOf(-0.3)), kBeamColours[1]);
        EXPECT_EQ(colourAt(nColumn, velocity.YOf(0.1)), kBeamColours[2]);
    }
}

TEST(RecordingPlot, ARecordingWithoutDataRecordsDrawsAnEmptyPlotThatSaysSo) {
    CTempDir dir;
    const SDrawn d =
        Draw(dir.Write("idle.trs", CRecordingBuilder().Add(StandardConfiguration()).Image()));
    ASSERT_TRUE(d.look.info.strError.empty());
    EXPECT_TRUE(d.layout.panels.empty());
    ASSERT_FALSE(d.layout.notice.isEmpty());
    int nText = 0;
    for (int y = 0; y < d.image.height(); ++y) {
        for (int x = 0; x < d.image.width(); ++x) {
            const QColor colour(d.image.pixel(x, y));
            for (const QColor& beam : kBeamColours) {
                ASSERT_NE(colour, beam) << x << "," << y;
            }
            nText += d.layout.notice.contains(x, y) && colour.lightness() < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(nText, 50) << "the notice is written";
}

TEST(PaletteImage, KeepsEveryPixelAndGivesUpAbove256Colours) {
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::darkBlue);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("2008-01-01 12:00"));
    painter.fillRect(10, 10, 40, 40, kDamageShade);
    painter.end();
    const QImage indexed = ToPaletteIfFewColours(image);
    ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(indexed.pixel(x, y), image.pixel(x, y)) << x << "," << y;
        }
    }
    for (int x = 0; x < 257; ++x) {
        image.setPixel(x, 0, qRgb(x % 256, x / 256, 7));
    }
    EXPECT_EQ(ToPaletteIfFewColours(image).format(), QImage::Format_RGB32);
}

}  // namespace
}  // namespace sulvan::plot
