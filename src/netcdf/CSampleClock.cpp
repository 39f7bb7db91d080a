#include "netcdf/CSampleClock.hpp"

namespace sulvan {

void CSampleClock::Anchor(std::optional<double> dSeconds) {
    m_nSinceAnchor = 0;
    m_bAnchorKnown = dSeconds.has_value();
    if (dSeconds) {
        m_dAnchor = *dSeconds;
        m_bHasTime = true;
    }
}

SSampleTime CSampleClock::Next(bool bAfterDamage) {
    SSampleTime time;
    time.nSinceAnchor = m_nSinceAnchor;
    time.nFlags = bAfterDamage ? SSampleTime::kAfterDamage : 0;
    time.dSeconds = m_dAnchor + static_cast<double>(m_nSinceAnchor) * m_dInterval;
    if (!m_bAnchorKnown || (m_dPrevious && !(time.dSeconds > *m_dPrevious))) {
        // Before any sample an unknown anchor still has its predecessor's clock to go on from.
        time.dSeconds = m_dPrevious ? *m_dPrevious + m_dInterval : time.dSeconds;
        time.nFlags |= SSampleTime::kAdjusted;
    }
    ++m_nSinceAnchor;
    m_dPrevious = time.dSeconds;
    return time;
}

}  // namespace sulvan
