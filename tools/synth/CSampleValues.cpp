#include "CSampleValues.hpp"

#include <algorithm>
#include <cstddef>

namespace sulvan::synth {
namespace {

constexpr int kCurrentLimit = 1500;  // counts, 1.5 m/s at the coarse scale
constexpr int kNoise = 120;

}  // namespace

CSampleValues::CSampleValues(int nBeams, bool bCompass, std::uint64_t nSeed)
    : m_random(nSeed), m_bCompass(bCompass) {
    const auto nCount = static_cast<std::size_t>(nBeams);
    m_velocity.velocities.assign(nCount, 0);
    m_velocity.amplitudes.assign(nCount, 0);
    m_velocity.correlations.assign(nCount, 0);
    for (int& nCurrent : m_currents) {
        nCurrent = m_random.Between(-kCurrentLimit / 2, kCurrentLimit / 2);
    }
    if (!bCompass) {
        m_system.nHeading = 0;
        m_system.nPitch = 0;
        m_system.nRoll = 0;
    }
}

const records::SVelocitySample& CSampleValues::NextVelocitySample() {
    for (std::size_t b = 0; b < m_velocity.velocities.size(); ++b) {
        m_currents[b] = Drift(m_currents[b], 3, -kCurrentLimit, kCurrentLimit);
        m_velocity.velocities[b] =
            static_cast<std::int16_t>(m_currents[b] + m_random.Between(-kNoise, kNoise));
        m_velocity.amplitudes[b] = static_cast<std::uint8_t>(m_random.Between(80, 140));
        m_velocity.correlations[b] = static_cast<std::uint8_t>(m_random.Between(55, 99));
    }
    m_velocity.nPressure = static_cast<std::uint16_t>(m_random.Between(9900, 10100));
    return m_velocity;
}

const records::SSystemSample& CSampleValues::NextSystemSample(const ClockBytes& clock) {
    m_system.clock = clock;
    m_system.nBattery = static_cast<std::uint16_t>(m_random.Between(118, 122));
    m_nTemperature = Drift(m_nTemperature, 2, 200, 2500);
    m_system.nTemperature = static_cast<std::int16_t>(m_nTemperature);
    // The sound speed follows the temperature, roughly 3 m/s per degree.
    m_system.nSoundSpeed = static_cast<std::uint16_t>(14700 + m_nTemperature * 3 / 10);
    if (m_bCompass) {
        m_nHeading = Drift(m_nHeading, 5, 0, 3599);
        m_system.nHeading = static_cast<std::int16_t>(m_nHeading);
        m_system.nPitch = static_cast<std::int16_t>(m_random.Between(-40, 40));
        m_system.nRoll = static_cast<std::int16_t>(m_random.Between(-40, 40));
    }
    return m_system;
}

int CSampleValues::Drift(int nValue, int nStep, int nLow, int nHigh) {
    return std::clamp(nValue + m_random.Between(-nStep, nStep), nLow, nHigh);
}

}  // namespace sulvan::synth
