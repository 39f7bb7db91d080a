#include "COutcomeReport.hpp"

#include <ostream>

#include "CJsonWriter.hpp"
#include "CTerminalUserInterface.hpp"
#include "platform/Path.hpp"

namespace sulvan::cli {
namespace {

const char* FateName(EFileFate fate) {
    switch (fate) {
        case EFileFate::Converted:
            return "converted";
        case EFileFate::Declined:
            return "declined";
        case EFileFate::Failed:
            return "failed";
    }
    return "failed";
}

const char* AnswerName(const SAnsweredQuestion& question) {
    if (question.bOkCancel) {
        return question.bYes ? "ok" : "cancel";
    }
    return question.bYes ? "yes" : "no";
}

// A reason of several lines goes on indented under the first.
std::string Indented(const std::string& strText) {
    std::string strLines;
    for (const char c : strText) {
        strLines += c == '\r' ? std::string("\n  ") : std::string(1, c);
    }
    return strLines;
}

}  // namespace

COutcomeReport::COutcomeReport(std::ostream& out, std::ostream& err, bool bJson, bool bQuiet)
    : m_out(out), m_err(err), m_bJson(bJson), m_bQuiet(bQuiet) {}

void COutcomeReport::NameInput(const std::string& strFullPath, const std::string& strAsGiven) {
    m_namesGiven.emplace(strFullPath, strAsGiven);
}

void COutcomeReport::Report(const SFileOutcome& outcome) {
    m_bAnyFailed |= outcome.IsFailed();
    if (m_bJson) {
        WriteJson(outcome);
    } else {
        WriteNames(outcome);
    }
    WriteBlock(outcome);
}

void COutcomeReport::Refuse(const std::string& strInput, const std::string& strReason) {
    SFileOutcome outcome;
    outcome.strInput = strInput;
    outcome.Fail(std::string(), strReason);
    Report(outcome);
}

void COutcomeReport::WriteNames(const SFileOutcome& outcome) {
    for (const SWrittenFile& file : outcome.written) {
        m_out << FileNameOf(file.strPath) << "\n";
    }
    m_out.flush();
}

void COutcomeReport::WriteJson(const SFileOutcome& outcome) {
    CJsonWriter json(m_out);
    json.BeginObject();
    json.String("input", InputName(outcome.strInput));
    json.String("outcome", FateName(outcome.fate));
    json.BeginArray("outputs");
    for (const SWrittenFile& file : outcome.written) {
        json.BeginObject();
        json.String("path", file.strPath);
        if (file.nDataRecords) {
            json.Integer("dataRecords", *file.nDataRecords);
        } else {
            json.Null("dataRecords");
        }
        json.EndObject();
    }
    json.EndArray();
    json.BeginArray("incomplete");
    for (const std::string& strPath : outcome.incomplete) {
        json.String({}, strPath);
    }
    json.EndArray();
    if (!outcome.strKept.empty()) {
        json.String("kept", outcome.strKept);
    }
    json.BeginArray("messages");
    for (const SFileMessage& message : outcome.messages) {
        if (!message.strReason.empty()) {
            json.String({}, ToLines(message.strReason));
        }
    }
    json.EndArray();
    json.BeginArray("questions");
    for (const SAnsweredQuestion& question : outcome.questions) {
        json.BeginObject();
        json.String("text", ToLines(question.strText));
        json.String("answer", AnswerName(question));
        json.EndObject();
    }
    json.EndArray();
    json.BeginObject("damage");
    json.Integer("skippedBytes", outcome.damage.nSkippedBytes);
    json.Integer("skippedSpans", outcome.damage.nSkippedSpans);
    json.Integer("checksumErrors", outcome.damage.nChecksumErrors);
    json.EndObject();
    json.EndObject();
    m_out.flush();
}

void COutcomeReport::WriteBlock(const SFileOutcome& outcome) {
    const bool bFailed = outcome.IsFailed();
    const bool bQuiet = m_bQuiet && !bFailed;
    if (bQuiet || (outcome.fate == EFileFate::Converted && outcome.incomplete.empty())) {
        return;
    }
    std::string strBlock = "sulvan-convert: " + InputName(outcome.strInput) + ":";
    bool bFirst = true;
    for (const SFileMessage& message : outcome.messages) {
        if (!message.strReason.empty()) {
            strBlock += (bFirst ? " " : "\n  ") + Indented(message.strReason);
            bFirst = false;
        }
    }
    if (bFirst && outcome.fate != EFileFate::Converted) {
        strBlock += " not converted";
        bFirst = false;
    }
    for (const std::string& strPath : outcome.incomplete) {
        strBlock += (bFirst ? " " : "\n  ") + std::string("incomplete: ") + strPath;
        bFirst = false;
    }
    m_err << strBlock << "\n";
}

std::string COutcomeReport::InputName(const std::string& strInput) const {
    const auto it = m_namesGiven.find(strInput);
    return it == m_namesGiven.end() ? strInput : it->second;
}

}  // namespace sulvan::cli
