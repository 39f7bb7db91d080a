#pragma once
// What a synthetic instrument measures: per beam a current that drifts slowly under noise,
// amplitudes and correlations that scatter around plausible levels, a slowly varying
// temperature and, with a compass, a head that sways. The same seed gives the same values.

#include <array>
#include <cstdint>

#include "CPseudoRandom.hpp"
#include "RecordBuilder.hpp"

namespace sulvan::synth {

class CSampleValues {
  public:
    CSampleValues(int nBeams, bool bCompass, std::uint64_t nSeed);

    // The next sample, refilled in place: valid until the next call.
    const records::SVelocitySample& NextVelocitySample();
    const records::SSystemSample& NextSystemSample(const ClockBytes& clock);

  private:
    // One step of a bounded random walk.
    int Drift(int nValue, int nStep, int nLow, int nHigh);

    CPseudoRandom m_random;
    bool m_bCompass;
    std::array<int, 3> m_currents{};  // counts, per beam
    int m_nHeading = 900;
    int m_nTemperature = 1234;
    records::SVelocitySample m_velocity;
    records::SSystemSample m_system;
};

}  // namespace sulvan::synth
