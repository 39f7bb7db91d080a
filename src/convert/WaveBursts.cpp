#include "convert/WaveBursts.hpp"

#include "format/RecordCatalogue.hpp"

namespace sulvan {

SPeloraWaveRole CWaveBursts::TakePelora(std::uint8_t nId) {
    SPeloraWaveRole role;
    const bool bWaveSample = nId == RecordId::PeloraWaveSample;
    if (!bWaveSample) {
        role.bCurrent = true;
        m_nPosition = 0;
    }
    const bool bWaveStep = bWaveSample || (nId == RecordId::SinglePointVelocity && !m_bWaveMode);
    if (!bWaveStep) {
        return role;
    }
    if (m_nPosition == 0) {
        // A wave sample opens a burst of one sample fewer, and a burst has an even length.
        int nSamples = m_nWaveSamples - (bWaveSample ? 1 : 0);
        nSamples -= nSamples & 1;
        m_nBurstSamples = static_cast<std::uint16_t>(nSamples);
        m_nPosition = 1;
        role.bOpensBurst = true;
    } else {
        TakeWaveSample();
        role.bWaveSample = true;
    }
    return role;
}

void CWaveBursts::TakeTarsisHeader(std::uint16_t nSamples) {
    m_nBurstSamples = nSamples;
    ++m_nPosition;
}

void CWaveBursts::TakeWaveSample() {
    m_nPosition = m_nPosition == m_nBurstSamples ? 0 : m_nPosition + 1;
}

}  // namespace sulvan
