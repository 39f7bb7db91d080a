#pragma once
// Letter case by ASCII rules: file names and answers are compared the way the dialog compares
// them, whatever the locale.

#include <string>
#include <string_view>

namespace sulvan {

std::string LowerCased(std::string_view strText);

bool EqualIgnoringCase(std::string_view strFirst, std::string_view strSecond);

}  // namespace sulvan
