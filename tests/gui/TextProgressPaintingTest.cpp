#include "TextProgressPainting.hpp"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>

namespace sulvan::gui {
namespace {

const QColor kBar(0, 0, 255);
const QColor kBackground(200, 200, 200);
const QColor kText(0, 0, 0);
const QColor kTextOnBar(255, 255, 0);

STextProgressLook Look(int nPos, int nUpper = 100) {
    STextProgressLook look;
    look.nUpper = nUpper;
    look.nPos = nPos;
    look.crBar = kBar;
    look.crBackground = kBackground;
    look.crText = kText;
    look.crTextOnBar = kTextOnBar;
    return look;
}

// The bar painted into an image of its own size; text without anti-aliasing, so that every
// pixel is one of the four colours.
QImage Paint(const STextProgressLook& look, QSize size = {200, 40}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    PaintTextProgress(painter, image.rect(), look);
    return image;
}

TEST(TextProgressPainting, SplitsTheColumnsAtTheDonePartAndTheTextAtTheSplit) {
    struct SCase {
        int nPos;
        int nDoneColumns;  // ⌊200 × position / 100⌋
    };
    // At 29 % a real fraction gives 57.99999 columns.
    for (const SCase c :
         {SCase{0, 0}, SCase{29, 58}, SCase{37, 74}, SCase{50, 100}, SCase{100, 200}}) {
        SCOPED_TRACE(c.nPos);
        const QImage image = Paint(Look(c.nPos));
        std::set<QRgb> textColours;
        for (int x = 0; x < image.width(); ++x) {
            const bool bDone = x < c.nDoneColumns;
            // The top row is clear of the text.
            EXPECT_EQ(image.pixel(x, 0), (bDone ? kBar : kBackground).rgb()) << x;
            for (int y = 0; y < image.height(); ++y) {
                const QRgb pixel = image.pixel(x, y);
                const QColor fill = bDone ? kBar : kBackground;
                const QColor text = bDone ? kTextOnBar : kText;
                ASSERT_TRUE(pixel == fill.rgb() || pixel == text.rgb()) << x << "," << y;
                if (pixel == text.rgb()) {
                    textColours.insert(pixel);
                }
            }
        }
        // "50%" straddles the split: both text colours show, clipped at the fill edge.
        const std::size_t nExpected = c.nPos == 50 ? 2 : 1;
        EXPECT_EQ(textColours.size(), nExpected);
    }
}

TEST(TextProgressPainting, VerticalBarsFillFromTheBottom) {
    STextProgressLook look = Look(37);
    look.bVertical = true;
    const QImage image = Paint(look, {40, 200});
    EXPECT_EQ(image.pixel(0, 200 - 74), kBar.rgb());
    EXPECT_EQ(image.pixel(0, 200 - 75), kBackground.rgb());
}

TEST(TextProgressPainting, DonePartOfAMarqueeIsTheSegmentEndingAtThePosition) {
    STextProgressLook look = Look(50);
    look.bMarquee = true;
    EXPECT_EQ(DonePart({10, 0, 200, 20}, look), QRect(70, 0, 40, 20));
    // Towards the marquee's top (120) the segment runs out at the end.
    look.nPos = 110;
    EXPECT_EQ(DonePart({10, 0, 200, 20}, look), QRect(190, 0, 20, 20));
}

TEST(TextProgressPainting, PercentRoundsHalvesUp) {
    struct SCase {
        int nLower, nUpper, nPos, nPercent;
    };
    // 14.5 % and 57.5 % fall a hair below the half when computed with a real fraction.
    const SCase cases[] = {
        {0, 100, 37, 37},   {0, 200, 1, 1},
        {0, 200, 29, 15},   {0, 40, 23, 58},
        {0, 200, 199, 100}, {0, 3, 2, 67},
        {-100, 100, 0, 50}, {0, 1000, 4, 0},
        {0, 100, 100, 100}, {0, 2000000000, 1000000000, 50},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(ProgressPercent(c.nLower, c.nUpper, c.nPos), c.nPercent)
            << c.nLower << ".." << c.nUpper << " at " << c.nPos;
    }
    STextProgressLook look = Look(37);
    EXPECT_EQ(ProgressText(look), "37%");
    look.bShowText = false;
    EXPECT_EQ(ProgressText(look), "");
}

TEST(TextProgressPainting, TextStartsByAlignmentAndIsCentredAcross) {
    const QRect rc(10, 5, 200, 31);
    const QSize text(40, 14);
    EXPECT_EQ(TextOrigin(rc, text, kAlignStart), QPoint(12, 13));
    EXPECT_EQ(TextOrigin(rc, text, kAlignCentre), QPoint(90, 13));
    EXPECT_EQ(TextOrigin(rc, text, kAlignEnd), QPoint(167, 13));
}

}  // namespace
}  // namespace sulvan::gui
