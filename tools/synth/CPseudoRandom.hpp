#pragma once
// SplitMix64. The standard library's engines are fixed but its distributions are not, so a seed
// would not name the same recording with every standard library; this sequence does.

#include <cstdint>

namespace sulvan::synth {

class CPseudoRandom {
  public:
    explicit CPseudoRandom(std::uint64_t nSeed) : m_nState(nSeed) {}

    std::uint64_t Next() {
        m_nState += 0x9E3779B97F4A7C15ull;
        std::uint64_t nValue = m_nState;
        nValue = (nValue ^ (nValue >> 30)) * 0xBF58476D1CE4E5B9ull;
        nValue = (nValue ^ (nValue >> 27)) * 0x94D049BB133111EBull;
        return nValue ^ (nValue >> 31);
    }

    // nLow to nHigh, both included: the top 32 bits scaled to the span, which needs no
    // division; its bias is far below anything a recording could show.
    int Between(int nLow, int nHigh) {
        const auto nSpan = static_cast<std::uint64_t>(static_cast<std::int64_t>(nHigh) - nLow + 1);
        return static_cast<int>(nLow + static_cast<std::int64_t>(((Next() >> 32) * nSpan) >> 32));
    }

  private:
    std::uint64_t m_nState;
};

}  // namespace sulvan::synth
