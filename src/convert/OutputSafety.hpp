#pragma once
// The two rules every writer of a converted file keeps: never write over the recording it
// reads, and never replace an existing file without asking.

#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface;

// True, with outcome failed, when strOutput names the file strInput: creating the output would
// truncate the recording before it is read.
bool RefusesToReplaceInput(const std::string& strInput, const std::string& strOutput,
                           SFileOutcome& outcome);

// True when nothing exists at strOutput or the user agrees to replace it; on No, outcome is
// declined, keeping the existing file.
bool ConfirmsReplacing(CUserInterface& ui, const std::string& strOutput, SFileOutcome& outcome);

}  // namespace sulvan
