#pragma once
// The record checksum: the 16-bit sum, carries out of bit 15 dropped, of the seed and every
// little-endian word of a record except the last, which holds the checksum itself.

#include <cstddef>
#include <cstdint>
#include <span>

namespace sulvan {

inline constexpr std::uint16_t kChecksumSeed = 0xB58C;

// The sum over nWords 16-bit words starting at pRecord. Callers pass the record size in bytes
// divided by 2, minus 1.
std::uint16_t RecordChecksum(const std::uint8_t* pRecord, std::size_t nWords);

// True when the last word of the record equals the checksum of the words before it.
bool IsRecordIntact(std::span<const std::uint8_t> record);

// Writes the checksum of the record into its last word.
void SealRecord(std::span<std::uint8_t> record);

}  // namespace sulvan
