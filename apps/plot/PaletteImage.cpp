#include "PaletteImage.hpp"

#include <array>
#include <cstdint>

namespace sulvan::plot {
namespace {

constexpr int kMaxColours = 256;

// Colours to their palette index, in an open-addressed table twice as large as a palette.
class CColourIndex {
  public:
    // The colour's index, given a new one when there is room; -1 when the palette is full.
    int IndexOf(QRgb colour) {
        std::size_t nSlot = Hash(colour);
        while (m_used[nSlot]) {
            if (m_colours[nSlot] == colour) {
                return m_indices[nSlot];
            }
            nSlot = (nSlot + 1) % kSlots;
        }
        if (m_table.size() == kMaxColours) {
            return -1;
        }
        m_used[nSlot] = true;
        m_colours[nSlot] = colour;
        m_indices[nSlot] = static_cast<int>(m_table.size());
        m_table.push_back(colour);
        return m_indices[nSlot];
    }
    const QList<QRgb>& Table() const { return m_table; }

  private:
    static constexpr std::size_t kSlots = 2 * kMaxColours;
    static std::size_t Hash(QRgb colour) {
        return (std::uint32_t{colour} * 2654435761U >> 16) % kSlots;
    }

    std::array<bool, kSlots> m_used{};
    std::array<QRgb, kSlots> m_colours{};
    std::array<int, kSlots> m_indices{};
    QList<QRgb> m_table;
};

}  // namespace

QImage ToPaletteIfFewColours(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    CColourIndex index;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* pIn = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* pOut = indexed.scanLine(y);
        // Runs of one colour are the rule: white, the shading, a panel's frame.
        QRgb last = 0;
        int nLast = -1;
        for (int x = 0; x < rgb.width(); ++x) {
            if (nLast < 0 || pIn[x] != last) {
                last = pIn[x];
                nLast = index.IndexOf(last);
                if (nLast < 0) {
                    return image;
                }
            }
            pOut[x] = static_cast<std::uint8_t>(nLast);
        }
    }
    indexed.setColorTable(index.Table());
    return indexed;
}

}  // namespace sulvan::plot
