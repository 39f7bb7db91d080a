#pragma once
// Velocimeter recordings of firmware older than 1.08 lack the headers that open each burst.

#include <cstdint>
#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CInsFile;

// The first firmware version that writes burst headers.
inline constexpr double kFirstFirmwareWithBurstHeaders = 1.08;

// A Tarsis recording whose hardware configuration states a firmware older than 1.08. A version
// that reads as 0 (no text, or no number) is unknown, not old: it is never offered the repair.
bool LacksBurstHeaders(const CInsFile& reader);

// Writes a copy of the opened recording with a velocity sample header built in front of every
// burst of nSamplesPerBurst velocity samples (one header only when it is 0) and the firmware
// version set to "1.08", so the copy is not offered the repair again. The reader's
// configuration keeps the new firmware version. The copy's data records are the samples it
// holds. Fails on a file error; what was written stays on disk.
SFileOutcome RepairBurstHeaders(CInsFile& reader, const std::string& strOutputPath,
                                std::uint16_t nSamplesPerBurst);

}  // namespace sulvan
