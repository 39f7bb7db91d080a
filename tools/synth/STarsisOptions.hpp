#pragma once
// What a synthetic Tarsis recording holds: its instrument, its sampling, its length and the
// damage done to it.

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
inline constexpr int kMaxBurstSamples = 32767;
inline constexpr int kMaxBeams = 3;

struct STarsisOptions {
    bool bBurst = false;
    int nBurstSamples = 256;  // velocity samples per burst, with bBurst
    bool bCompass = false;
    // Firmware older than 1.08 writes bursts without velocity sample headers.
    std::string strFirmware = "1.08";
    int nBeams = 3;
    std::uint16_t nRateDivisor = 16;  // 512 / divisor Hz
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
std::string DescribeProblem(const STarsisOptions& options);

// Whether each burst opens with a velocity sample header: burst recordings of firmware 1.08
// and later, the version read as the reader reads it.
bool WritesBurstHeaders(const STarsisOptions& options);

}  // namespace sulvan::synth
