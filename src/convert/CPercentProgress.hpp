#pragma once
// Progress through a file as a whole percentage of its length, told only when it changes: a
// report per record would repaint a window per record. One comparison per position.

#include <cstdint>
#include <functional>
#include <limits>

namespace sulvan {

class CPercentProgress {
  public:
    // An empty report function makes every position a no-op.
    CPercentProgress(std::function<void(int)> report, std::uint64_t nLength)
        : m_report(std::move(report)), m_nLength(nLength) {
        if (!m_report) {
            m_nNextChange = std::numeric_limits<std::uint64_t>::max();
        }
    }

    void At(std::uint64_t nPosition) {
        if (nPosition >= m_nNextChange) {
            Report(nPosition);
        }
    }

  private:
    void Report(std::uint64_t nPosition) {
        // 64-bit throughout: a position times 100 overflows 32 bits past 21 MB.
        const std::uint64_t nPercent =
            m_nLength == 0 || nPosition >= m_nLength ? 100 : nPosition * 100 / m_nLength;
        if (static_cast<int>(nPercent) != m_nLast) {
            m_nLast = static_cast<int>(nPercent);
            m_report(m_nLast);
        }
        // The first position of the next percentage.
        m_nNextChange = nPercent >= 100 ? std::numeric_limits<std::uint64_t>::max()
                                        : ((nPercent + 1) * m_nLength + 99) / 100;
    }

    std::function<void(int)> m_report;
    std::uint64_t m_nLength;
    int m_nLast = -1;
    std::uint64_t m_nNextChange = 0;
};

}  // namespace sulvan
