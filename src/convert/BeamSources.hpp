#pragma once
// Which entry of a Tarsis velocity sample each of the first three beams takes its velocity,
// amplitude and correlation from. The arrays hold nb x nc entries, beam-major; every cell
// overwrites the one before, so the last cell that the record holds wins. Entries beyond the
// record are never read, so a configuration that disagrees with the record cannot reach past it.

#include <array>
#include <cstddef>

namespace sulvan {

class CBeamSources {
  public:
    static constexpr int kMaxBeams = 3;

    CBeamSources(int nBeams, int nCells) : m_nBeams(nBeams), m_nCells(nCells) {}

    // The entries of a record of nEntries entries; -1 for a beam the record lacks.
    const std::array<int, kMaxBeams>& For(std::size_t nEntries) {
        if (nEntries != m_nEntries) {
            Find(nEntries);
        }
        return m_sources;
    }

  private:
    void Find(std::size_t nEntries) {
        m_nEntries = nEntries;
        m_sources.fill(-1);
        for (int b = 0; b < m_nBeams && b < kMaxBeams; ++b) {
            for (int j = 0; j < m_nCells; ++j) {
                const int i = b * m_nCells + j;
                if (static_cast<std::size_t>(i) < nEntries) {
                    m_sources[static_cast<std::size_t>(b)] = i;
                }
            }
        }
    }

    int m_nBeams;
    int m_nCells;
    std::size_t m_nEntries = 0;
    std::array<int, kMaxBeams> m_sources{-1, -1, -1};
};

// The entries a velocity sample of nSize bytes holds per array (velocities, amplitudes,
// correlations): at least one, since the size check sizes no sample without a beam.
inline std::size_t VelocitySampleEntries(std::size_t nSize, std::size_t nArrays) {
    return (nSize - nArrays - 2) / 4;
}

}  // namespace sulvan
