#pragma once
// The instrument family of a data file, taken from its name.

#include <optional>
#include <string_view>

namespace sulvan {

// Looks for the known extensions (any letter case) in the file name, in a fixed order: .pld,
// .prf, .trs, .mrv, .jxm, .sld, .kpm, .wpr, .wpb; the first found wins. Only the file name is
// searched, so a folder named "x.pld" does not make the files inside it Pelora recordings.
std::optional<int> FamilyFromFileName(std::string_view strPath);

// The family's name for people ("Pelora", "Tarsis", "Corvane", ...); "unknown" for codes
// outside 0 to 6.
const char* FamilyName(int nFamily);

}  // namespace sulvan
