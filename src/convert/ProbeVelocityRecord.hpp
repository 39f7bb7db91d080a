#pragma once
// The velocity record (0x51) a Corvane chunk carries for its probe: the first word 0x51A5, a
// status word, then the velocity counts, the amplitudes and the correlations of nb * nc
// entries each, beam-major (beam b, cell j at entry b * nc + j).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/ByteOrder.hpp"

namespace sulvan {

struct SProbeVelocityRecord {
    std::size_t nBeams = 0;  // 1 to 4
    std::size_t nCells = 0;  // 1 to 8
    double dScale = 0.0;     // m/s per count
    const std::uint8_t* pArrays = nullptr;

    // The first cell of beam b.
    std::int16_t VelocityCount(std::size_t b) const { return ReadI16Le(pArrays + 2 * b * nCells); }
    std::uint8_t Amplitude(std::size_t b) const { return pArrays[2 * Entries() + b * nCells]; }
    std::uint8_t Correlation(std::size_t b) const { return pArrays[3 * Entries() + b * nCells]; }
    std::size_t Entries() const { return nBeams * nCells; }
};

// The record's fields, pointing into record; empty when it is no velocity record or is shorter
// than its status word says.
std::optional<SProbeVelocityRecord> ReadProbeVelocityRecord(std::span<const std::uint8_t> record);

}  // namespace sulvan
