#pragma once
// The configuration records a repaired recorder dump gets where its own could not be found.

#include "config/CInsConf.hpp"

namespace sulvan {

// Serial number "PLD 0000", configuration word 7, checksum filled in.
CInsConf::HardwareRecord MakeDefaultHardwareRecord();

// Serial number "PLD 0000", the frequency in kHz, the family's transformation matrix and the
// beam count; checksum filled in.
CInsConf::HeadRecord MakeDefaultHeadRecord(int nFamily, int nFrequencyKhz, int nBeams);

}  // namespace sulvan
