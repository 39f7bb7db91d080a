#pragma once
// What sulvan-info prints about one recording: lines for a person, or one JSON object.

#include <ostream>

#include "app/RecordingInfo.hpp"

namespace sulvan::info {

void WriteText(const SRecordingInfo& info, std::ostream& out);
void WriteJson(const SRecordingInfo& info, std::ostream& out);

}  // namespace sulvan::info
