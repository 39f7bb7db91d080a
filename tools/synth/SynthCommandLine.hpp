#pragma once
// The command line of sulvan-synth, in two steps that main() runs one after the other.

#include <optional>
#include <ostream>
#include <string>

#include "CCorvaneGenerator.hpp"
#include "CPeloraGenerator.hpp"
#include "STarsisOptions.hpp"

namespace sulvan::synth {

enum class ERecordingKind { Tarsis, TarsisBurst, Pelora, Corvane };

struct SSynthRequest {
    std::string strOutput;
    ERecordingKind kind = ERecordingKind::Tarsis;
    STarsisOptions tarsis;
    SPeloraOptions pelora;
    SCorvaneOptions corvane;
};

// Fills the request from the arguments. Returns the exit status when there is nothing to
// write: 0 after --help (printed on out), 2 after a usage error (one line on err).
std::optional<int> ParseCommandLine(int nArgs, const char* const* pArgs, SSynthRequest& request,
                                    std::ostream& out, std::ostream& err);

// Writes the recording and says so on out. Returns the exit status: 0, or 1 after a file
// error (one line on err).
int WriteRecording(const SSynthRequest& request, std::ostream& out, std::ostream& err);

}  // namespace sulvan::synth
