#pragma once
// Corvane multi-probe recordings to the KVT "ADV 3.0" layout: one instrument block per probe,
// then one record per sample number holding every probe's sample.

#include <functional>
#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface;

// Converts the recording at strInput into strOutput, asking before it replaces an existing
// file, and shows the totals at the end; the output's data records are its sample records.
// Declined when the user keeps an existing output; failed when nothing could be converted (what
// was written stays on disk). progress receives the position in the input as a percentage,
// each time it changes; it may be empty.
SFileOutcome MrvToAdv(CUserInterface& ui, const std::string& strInput, const std::string& strOutput,
                      const std::function<void(int)>& progress);

}  // namespace sulvan
