#pragma once
// The user interface of the command line: messages and questions on the error stream, with
// the "\r" line breaks of the library's texts turned into new lines; answers from the options,
// from the terminal, or No when there is no terminal to ask on.

#include <iosfwd>
#include <string>

#include "platform/CUserInterface.hpp"

namespace sulvan::cli {

class COutcomeReport;

enum class EAnswerPolicy {
    Ask,  // ask on the terminal; without one, answer No and say so
    Yes,  // answer every question Yes (OK)
    No,   // answer every question No (Cancel)
};

// Which of the standard streams are terminals.
struct STerminals {
    bool bInput = false;  // questions can be asked
    bool bError = false;  // progress can be shown on a line that is rewritten
};

class CTerminalUserInterface : public CUserInterface {
  public:
    // bQuiet: messages, progress and questions answered without asking are not shown. Each
    // file's outcome goes to report.
    CTerminalUserInterface(std::ostream& err, std::istream& in, EAnswerPolicy policy,
                           STerminals terminals, bool bQuiet, COutcomeReport& report);

    void ShowMessage(const std::string& strText) override;
    bool AskOkCancel(const std::string& strText) override;
    bool AskYesNo(const std::string& strText) override;
    void BeginWait() override {}
    void EndWait() override {}
    // On a terminal, a line with the percentage while a file is under way; gone at 0 and 100.
    void SetProgress(int nPercent) override;
    void ReportOutcome(const SFileOutcome& outcome) override;

  private:
    bool Ask(const std::string& strText, const char* pChoices);
    // Clears the progress line, so that what follows starts on an empty line.
    void EraseProgress();

    std::ostream& m_err;
    std::istream& m_in;
    EAnswerPolicy m_policy;
    STerminals m_terminals;
    bool m_bQuiet;
    COutcomeReport& m_report;
    bool m_bProgressShown = false;
};

// The library's "\r" line breaks as new lines.
std::string ToLines(const std::string& strText);

}  // namespace sulvan::cli
