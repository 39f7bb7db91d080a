#pragma once
// Corvane multi-probe recordings to the KVT "ADV 3.0" layout: one instrument block per probe,
// then one record per sample number holding every probe's sample.

#include <functional>
#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CCorvaneFile;
class CUserInterface;

// Why a recording whose configuration names no probe is not converted.
inline constexpr const char* kNoProbes =
    "The recording's configuration names no probe: there is nothing to convert.";

// Opens a Corvane recording for a conversion. False, with the outcome failed ("Invalid file or
// conversion." and the input path, and the reason when the embedded probe configuration is
// malformed), when it is none.
bool OpenCorvaneRecording(CCorvaneFile& input, const std::string& strInput, SFileOutcome& outcome);

// Converts the recording at strInput into strOutput, asking before it replaces an existing
// file, and shows the totals at the end; the output's data records are its sample records.
// Declined when the user keeps an existing output; failed when nothing could be converted (what
// was written stays on disk). progress receives the position in the input as a percentage,
// each time it changes; it may be empty.
SFileOutcome MrvToAdv(CUserInterface& ui, const std::string& strInput, const std::string& strOutput,
                      const std::function<void(int)>& progress);

}  // namespace sulvan
