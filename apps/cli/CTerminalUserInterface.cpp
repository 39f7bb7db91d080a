#include "CTerminalUserInterface.hpp"

#include <algorithm>
#include <iomanip>
#include <istream>
#include <ostream>

#include "COutcomeReport.hpp"
#include "platform/Text.hpp"

namespace sulvan::cli {

std::string ToLines(const std::string& strText) {
    std::string strLines = strText;
    std::replace(strLines.begin(), strLines.end(), '\r', '\n');
    return strLines;
}

CTerminalUserInterface::CTerminalUserInterface(std::ostream& err, std::istream& in,
                                               EAnswerPolicy policy, STerminals terminals,
                                               bool bQuiet, COutcomeReport& report)
    : m_err(err),
      m_in(in),
      m_policy(policy),
      m_terminals(terminals),
      m_bQuiet(bQuiet),
      m_report(report) {}

void CTerminalUserInterface::ShowMessage(const std::string& strText) {
    if (!m_bQuiet) {
        EraseProgress();
        m_err << ToLines(strText) << "\n\n";
    }
}

void CTerminalUserInterface::SetProgress(int nPercent) {
    if (m_bQuiet || !m_terminals.bError) {
        return;
    }
    if (nPercent <= 0 || nPercent >= 100) {
        EraseProgress();
        return;
    }
    m_err << "\rconverting " << std::setw(3) << nPercent << "%" << std::flush;
    m_bProgressShown = true;
}

void CTerminalUserInterface::EraseProgress() {
    if (m_bProgressShown) {
        m_err << "\r\033[K" << std::flush;
        m_bProgressShown = false;
    }
}

bool CTerminalUserInterface::AskOkCancel(const std::string& strText) {
    return Ask(strText, "[ok/cancel]");
}

bool CTerminalUserInterface::AskYesNo(const std::string& strText) {
    return Ask(strText, "[y/n]");
}

void CTerminalUserInterface::ReportOutcome(const SFileOutcome& outcome) {
    EraseProgress();
    m_report.Report(outcome);
}

bool CTerminalUserInterface::Ask(const std::string& strText, const char* pChoices) {
    EraseProgress();
    if (m_policy != EAnswerPolicy::Ask || !m_terminals.bInput) {
        const bool bYes = m_policy == EAnswerPolicy::Yes;
        if (!m_bQuiet) {
            m_err << ToLines(strText) << "\n";
            if (m_policy == EAnswerPolicy::Ask) {
                m_err << "(answered No: there is no terminal to ask on; use -y or -n to answer)";
            } else {
                m_err << (bYes ? "(answered Yes)" : "(answered No)");
            }
            m_err << "\n\n";
        }
        return bYes;
    }
    for (;;) {
        m_err << ToLines(strText) << "\n" << pChoices << " " << std::flush;
        std::string strAnswer;
        if (!std::getline(m_in, strAnswer)) {
            m_err << "\n";
            return false;
        }
        strAnswer = LowerCased(strAnswer);
        if (strAnswer == "y" || strAnswer == "yes" || strAnswer == "ok") {
            return true;
        }
        if (strAnswer == "n" || strAnswer == "no" || strAnswer == "cancel") {
            return false;
        }
    }
}

}  // namespace sulvan::cli
