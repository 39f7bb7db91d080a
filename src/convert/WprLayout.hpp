#pragma once
// The records of the wave-profiler layout (.wpr) that the wave conversion writes after the
// configuration block: current profile (0x20), wave burst header (0x31) and wave sample (0x30).
// Every record is sealed with its checksum; every byte not set here is zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "format/BcdClock.hpp"

namespace sulvan {

inline constexpr std::size_t kWaveSampleSize = 24;
inline constexpr std::size_t kWaveBurstHeaderSize = 60;
// A current profile record begins with this many bytes of the record it is made from.
inline constexpr std::size_t kProfileSourceBytes = 32;

// Velocities (counts) and amplitudes of the first three beams of a record; zero for beams the
// record lacks.
struct SWaveBeams {
    std::array<std::int16_t, 3> velocity{};
    std::array<std::uint8_t, 3> amplitude{};
};

struct SWaveBurstHeader {
    ClockBytes clock{};
    std::uint16_t nSamples = 0;  // wave samples in the burst
    std::uint16_t nWord12 = 0;
    std::uint16_t nBattery = 0;
    std::uint16_t nSoundSpeed = 0;
    std::int16_t nHeading = 0;
    std::int16_t nPitch = 0;
    std::int16_t nRoll = 0;
    std::int16_t nTemperature = 0;
    std::uint16_t nWord30 = 0;
    std::array<std::uint8_t, 4> noise{};
};

// The profile's size decides its arrays: nEntries = nb * nc velocity entries, then as many
// amplitudes. The three beams go into the first entries, as many as there are.
void EncodeCurrentProfile(std::span<const std::uint8_t, kProfileSourceBytes> source,
                          const SWaveBeams& beams, std::size_t nEntries,
                          std::span<std::uint8_t> record);
void EncodeWaveBurstHeader(const SWaveBurstHeader& header,
                           std::span<std::uint8_t, kWaveBurstHeaderSize> record);
void EncodeWaveSample(std::uint16_t nPressure, std::uint16_t nAnalog1, const SWaveBeams& beams,
                      std::span<std::uint8_t, kWaveSampleSize> record);

}  // namespace sulvan
