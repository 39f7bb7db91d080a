#pragma once
// Velocimeter recordings of firmware older than 1.08 lack the headers that open each burst.

#include <cstdint>
#include <string>

namespace sulvan {

class CInsFile;
class CUserInterface;

// Writes a copy of the opened recording with a velocity sample header built in front of every
// burst of nSamplesPerBurst velocity samples (one header only when it is 0) and the firmware
// version set to "1.08", so the copy is not offered the repair again. The reader's
// configuration keeps the new firmware version. False after a failure, which has been shown
// (what was written stays on disk).
bool RepairBurstHeaders(CUserInterface& ui, CInsFile& reader, const std::string& strOutputPath,
                        std::uint16_t nSamplesPerBurst);

}  // namespace sulvan
