#pragma once
// What sulvan-info prints about one recording: lines for a person, or one JSON object.

#include <ostream>
#include <string>

#include "app/RecordingInfo.hpp"

namespace sulvan::info {

// strPlot: the PNG --plot wrote of the recording, if it wrote one.
void WriteText(const SRecordingInfo& info, std::ostream& out, const std::string& strPlot = {});
void WriteJson(const SRecordingInfo& info, std::ostream& out, const std::string& strPlot = {});

}  // namespace sulvan::info
