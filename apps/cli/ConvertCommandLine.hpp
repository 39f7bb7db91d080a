#pragma once
// sulvan-convert: fills the dialog state from its arguments and presses Convert.

#include <iosfwd>
#include <string>
#include <vector>

#include "CTerminalUserInterface.hpp"

namespace sulvan::cli {

// Exit statuses, part of the command's interface.
inline constexpr int kExitConverted = 0;  // every file converted, or its question answered No
inline constexpr int kExitFailed = 1;     // some file failed (see the error stream)
inline constexpr int kExitUsage = 2;      // the command line itself is wrong

struct SConvertRequest {
    std::vector<std::string> files;
    std::string strType;  // a conversion's name; empty: from the files' extension
    std::string strDestination;
    bool bBurstFiles = false;
    bool bChecksum = true;
    EAnswerPolicy answers = EAnswerPolicy::Ask;
    bool bQuiet = false;
    bool bJson = false;  // one JSON object per input file on standard output instead of names
    // The netCDF export's metadata file (empty: the one beside each recording, if any) and
    // compression level.
    std::string strMetadataFile;
    int nDeflateLevel = 1;
    std::string strCommandLine;  // as the program was called, for the files it writes
};

// Parses the arguments. Returns -1 when the request is to be run, or the exit status when
// parsing ended it (help, version, usage error), having written what was asked for.
int ParseConvertCommandLine(int argc, const char* const* argv, SConvertRequest& request,
                            std::ostream& out, std::ostream& err);

// Converts what the request names; the names of the files written go to out, one per line (or
// with bJson one JSON object per input file), and every message and question to err. Returns
// the exit status.
int RunConvert(const SConvertRequest& request, std::ostream& out, std::ostream& err,
               std::istream& in, STerminals terminals);

}  // namespace sulvan::cli
