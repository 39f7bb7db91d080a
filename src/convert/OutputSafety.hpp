#pragma once
// The one rule every writer of a converted file keeps: never write over the recording it reads.

#include <string>

namespace sulvan {

class CUserInterface;

// True, after a message, when strOutput names the file strInput: creating the output would
// truncate the recording before it is read.
bool RefusesToReplaceInput(CUserInterface& ui, const std::string& strInput,
                           const std::string& strOutput);

}  // namespace sulvan
