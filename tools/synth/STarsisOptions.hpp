#pragma once
// What a synthetic Tarsis recording holds: its instrument and its sampling, beside what every
// recording has.

#include <cstdint>
#include <string>

#include "SRecordingOptions.hpp"

namespace sulvan::synth {

inline constexpr int kMaxBurstSamples = 32767;

struct STarsisOptions : SRecordingOptions {
    bool bBurst = false;
    int nBurstSamples = 256;  // velocity samples per burst, with bBurst
    bool bCompass = false;
    // Firmware older than 1.08 writes bursts without velocity sample headers.
    std::string strFirmware = "1.08";
    std::uint16_t nRateDivisor = 16;  // 512 / divisor Hz
};

// The first thing that makes the options unusable, in words; empty when they are usable.
std::string DescribeProblem(const STarsisOptions& options);

// Whether each burst opens with a velocity sample header: burst recordings of firmware 1.08
// and later, the version read as the reader reads it.
bool WritesBurstHeaders(const STarsisOptions& options);

}  // namespace sulvan::synth
