#pragma once
// The program's name and version, as its title shows them.

#include <string>

namespace sulvan {

inline constexpr const char* kProgramName = "Sulvan File Converter";
inline constexpr double kProgramVersion = 1.03;

// "Sulvan File Converter v1.03": the version with two decimals.
std::string ProgramTitle();

}  // namespace sulvan
