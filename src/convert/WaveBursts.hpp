#pragma once
// How the wave layout groups samples into bursts, for Pelora velocity records and Tarsis
// samples alike: a burst opens with a header that announces its samples, the wave samples after
// it belong to it until it holds that many, and the next wave sample opens a new burst.
//
// A Pelora current record (0x01, 0x70) ends the burst before it. Without wave mode a 0x01 record
// also opens the next burst (announcing the wave sample count); with it, the first wave sample
// (0x80) after a current record opens the burst (announcing one sample fewer), and so does a
// wave sample after a full burst. An announced length is always even.

#include <cstdint>

namespace sulvan {

// What a Pelora velocity record is in the wave layout.
struct SPeloraWaveRole {
    bool bCurrent = false;     // a current record (0x01, 0x70)
    bool bOpensBurst = false;  // its clock and sensors make the header of a new burst
    bool bWaveSample = false;  // a wave sample of the burst that is open
};

class CWaveBursts {
  public:
    // nWaveSamples: the samples a burst opened by a current record announces.
    CWaveBursts(bool bWaveMode, std::uint16_t nWaveSamples)
        : m_bWaveMode(bWaveMode), m_nWaveSamples(nWaveSamples) {}

    // A Pelora velocity record (0x01, 0x70, 0x80), in the order of the recording.
    SPeloraWaveRole TakePelora(std::uint8_t nId);
    // A Tarsis velocity sample header that announces nSamples.
    void TakeTarsisHeader(std::uint16_t nSamples);
    // A Tarsis velocity sample, written as a wave sample.
    void TakeTarsisSample() { TakeWaveSample(); }

    // The samples the burst opened last announces.
    std::uint16_t BurstSamples() const { return m_nBurstSamples; }

  private:
    void TakeWaveSample();

    const bool m_bWaveMode;
    const std::uint16_t m_nWaveSamples;
    // 0 when the next wave step opens a burst; otherwise one more than the burst's samples so
    // far (a Tarsis header moves it on by one as well).
    std::uint32_t m_nPosition = 0;
    std::uint16_t m_nBurstSamples = 0;
};

}  // namespace sulvan
