#pragma once
// The conversions this program offers, one row each: what the command line, the dialog and the
// batch driver know of a conversion. Adding a conversion is adding a row.

#include <span>
#include <string>
#include <string_view>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface;

// What a per-file operation is given.
struct SFileJob {
    CUserInterface& ui;
    std::string strInput;
    std::string strOutput;  // the output path, with the conversion's extension
    bool bChecksum = true;
    bool bBurstFiles = false;
    // The netCDF export's: the metadata file (empty: sulvan-metadata.json beside the recording,
    // when there is one), the compression level and the command line the history names.
    std::string strMetadataFile{};
    int nDeflateLevel = 1;
    std::string strCommandLine{};
};

// The conversions by their position in the dialog's list.
enum class EConversion : int { MrvToAdv, TrsToAdv, ToWpr, ToNc };

struct SConversion {
    EConversion id;
    const char* pName;        // on the command line
    const char* pDialogText;  // in the dialog's list
    // The extensions (lower case, with the '.') of the recordings it is made for; a file of
    // another kind is handed to it all the same, and refused by its reader.
    std::span<const std::string_view> inputExtensions;
    const char* pOutputExtension;
    SFileOutcome (*convert)(const SFileJob& job);
};

// Every conversion, in the order of the dialog's list.
std::span<const SConversion> Conversions();

// The conversion at a position of the dialog's list; null outside it.
const SConversion* ConversionAt(int nPosition);
// The position of the conversion of this command-line name, or of the first conversion made for
// recordings of this extension; -1 when there is none.
int ConversionNamed(std::string_view strName);
int ConversionForExtension(std::string_view strExtension);

constexpr int PositionOf(EConversion id) {
    return static_cast<int>(id);
}

}  // namespace sulvan
