#pragma once
// The times of samples counted from an anchor: the anchor's clock plus k sample intervals, k
// counting the samples since it. Times stay strictly increasing, as CF coordinates must: a
// time not later than the one before becomes that one plus an interval and is flagged.

#include <cstdint>
#include <optional>

namespace sulvan {

struct SSampleTime {
    static constexpr std::int8_t kAdjusted = 1;  // not the anchor's clock plus k intervals
    static constexpr std::int8_t kAfterDamage =
        2;  // damaged bytes right before: a gap may lie here

    double dSeconds = 0.0;
    std::int8_t nFlags = 0;
    std::uint64_t nSinceAnchor = 0;  // k
};

class CSampleClock {
  public:
    explicit CSampleClock(double dInterval) : m_dInterval(dInterval) {}

    // A new anchor at dSeconds; empty when its clock forms no time, and the samples after it
    // then go on from the sample before, flagged as adjusted.
    void Anchor(std::optional<double> dSeconds);
    // The same, the samples after it lying dInterval apart from now on.
    void Anchor(std::optional<double> dSeconds, double dInterval) {
        m_dInterval = dInterval;
        Anchor(dSeconds);
    }
    // Whether a sample has a time: an anchor with a clock has been met.
    bool HasTime() const { return m_bHasTime; }
    // The time of the next sample; only when HasTime().
    SSampleTime Next(bool bAfterDamage);

  private:
    double m_dInterval;
    bool m_bHasTime = false;
    bool m_bAnchorKnown = false;
    double m_dAnchor = 0.0;
    std::uint64_t m_nSinceAnchor = 0;
    std::optional<double> m_dPrevious;
};

}  // namespace sulvan
