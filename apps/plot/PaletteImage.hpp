#pragma once
// A picture of few colours in a palette of exactly those colours. The plots have about two
// hundred (the series, the shading, the text's edges): as a palette image their PNG is a third
// of the size and is written several times faster, for PNG writers filter palette images not
// at all and every other kind with each of five filters to choose the best.

#include <QImage>

namespace sulvan::plot {

// The same pixels, indexed, when the image has at most 256 colours; the image itself otherwise.
QImage ToPaletteIfFewColours(const QImage& image);

}  // namespace sulvan::plot
