#pragma once
// The configuration block a converted or repaired record file starts with.

namespace sulvan {

class CBinaryFile;
class CInsConf;

// Writes the hardware, head and user records as the configuration holds them now, each with its
// checksum refreshed (a field changed since loading would otherwise leave it stale).
void WriteConfigurationBlock(CBinaryFile& output, CInsConf& conf);

}  // namespace sulvan
