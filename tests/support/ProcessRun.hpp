#pragma once
// Runs a program as a process, as a person or a script would: in a working folder, with no
// terminal on standard input, capturing what it writes and how it ends.

#include <string>
#include <vector>

namespace sulvan::test {

struct SProcessResult {
    int nStatus = -1;  // the exit status; -1 when it did not exit normally
    std::string strOut;
    std::string strErr;
};

SProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args,
                          const std::string& strFolder);

}  // namespace sulvan::test
