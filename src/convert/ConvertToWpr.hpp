#pragma once
// Pelora current-meter and Tarsis velocimeter recordings to the wave-profiler layout (.wpr),
// which wave-processing tools read: the configuration block described as a wave recording,
// then current profiles, wave burst headers and wave samples.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/FileOutcome.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {

class CUserInterface;

// The samples a wave burst opened by a Pelora current record announces.
inline constexpr std::uint16_t kWaveSamplesPerBurst = 1024;

struct SWprOptions {
    // Pelora records are converted only inside the window when both limits are valid; the
    // records after its end are not read. The limits receive the times of the first and the
    // last Pelora record converted.
    SDateTimeWithStatus windowStart{0.0, SDateTimeWithStatus::kInvalid};
    SDateTimeWithStatus windowEnd{0.0, SDateTimeWithStatus::kInvalid};
    std::uint16_t nWaveSamples = kWaveSamplesPerBurst;  // what a burst announces
    bool bChecksumControl = true;  // off: records with wrong checksums are converted too
    // Receives the position in the input as a percentage, each time it changes; may be empty.
    std::function<void(int)> progress;
};

// Whether the velocity records of a recording stand apart from its wave bursts: the wave-mode
// flag of its configuration as the wave layout reads it, the configuration of a wave profiler.
bool HasWaveMode(const CInsConf& conf);

// Converts an opened recording from its position to the end into the output path up to its
// extension, followed by ".wpr"; its data records are the records after the configuration
// block. The reader's configuration keeps the wave description afterwards; the deployment
// decoded from it tells ui what its validation finds. Fails on a file error; what was written
// stays on disk.
SFileOutcome ConvertToWpr(CUserInterface& ui, CInsFile& reader, const std::string& strOutputPath,
                          SWprOptions& options);

}  // namespace sulvan
