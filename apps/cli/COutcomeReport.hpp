#pragma once
// How sulvan-convert tells each file's fate. Standard output gets one line per file written
// whole (its name), or with --json one object per input file. Standard error gets, for a file
// that was not converted, one block that names it once and gives the library's reasons, or says
// what was declined and kept.

#include <iosfwd>
#include <map>
#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan::cli {

class COutcomeReport {
  public:
    // bQuiet: declined files and warnings are not told on standard error; failures are.
    COutcomeReport(std::ostream& out, std::ostream& err, bool bJson, bool bQuiet);

    // Inputs are told by the name they were given on the command line.
    void NameInput(const std::string& strFullPath, const std::string& strAsGiven);

    void Report(const SFileOutcome& outcome);
    // A file the run did not take: it does not exist, or another of its name was taken.
    void Refuse(const std::string& strInput, const std::string& strReason);

    bool AnyFailed() const { return m_bAnyFailed; }

  private:
    void WriteNames(const SFileOutcome& outcome);
    void WriteJson(const SFileOutcome& outcome);
    void WriteBlock(const SFileOutcome& outcome);
    std::string InputName(const std::string& strInput) const;

    std::ostream& m_out;
    std::ostream& m_err;
    bool m_bJson;
    bool m_bQuiet;
    std::map<std::string, std::string> m_namesGiven;
    bool m_bAnyFailed = false;
};

}  // namespace sulvan::cli
