#pragma once
// What every synthetic recording of the record framing has, whatever its instrument: where its
// configuration block stands, how long it is, and the damage done to it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace sulvan::synth {

enum class EConfigPlacement {
    Standard,   // hardware, head and user records at 0, 48 and 272
    Missing,    // no configuration records at all
    Misplaced,  // the three records after the first data records, as in a raw recorder dump
    NoUser,     // hardware and head records only
};

// Data records written before a misplaced configuration block. Even with the longest garbage
// after each of them the block stays within the part of a file searched for configuration.
inline constexpr std::uint64_t kMisplacedAfterRecords = 8;

inline constexpr std::uint64_t kMinSizeLimit = 1024;
inline constexpr std::size_t kMaxGarbageBytes = 4096;
// The truncated tail is held in memory until the end.
inline constexpr std::size_t kMaxTruncateBytes = 16 * 1024 * 1024;
inline constexpr int kMaxBeams = 3;

struct SRecordingOptions {
    int nBeams = 3;
    // Whole records are written while the file stays within this many bytes.
    std::uint64_t nSizeLimit = 1024 * 1024;
    // When not 0, the recording holds this many velocity samples and nSizeLimit does not apply.
    std::uint64_t nSamples = 0;
    std::uint64_t nSeed = 1;
    // Damage. Data records count from 1 in file order; a period of 0 turns that damage off.
    std::uint64_t nGarbageEvery = 0;  // garbage after every Nth data record
    std::size_t nGarbageBytes = 16;
    std::uint64_t nBadChecksumEvery = 0;  // a wrong checksum in every Nth data record
    std::size_t nTruncateBytes = 0;       // the last N bytes are not written
    EConfigPlacement configuration = EConfigPlacement::Standard;
};

// The first thing that makes the options unusable, in words; empty when they are usable.
std::string DescribeProblem(const SRecordingOptions& options);

}  // namespace sulvan::synth
