#include "platform/FileOutcome.hpp"

#include "platform/FileError.hpp"

namespace sulvan {

std::uint64_t SFileOutcome::DataRecords() const {
    std::uint64_t nRecords = 0;
    for (const SWrittenFile& file : written) {
        nRecords += file.nDataRecords.value_or(0);
    }
    return nRecords;
}

void SFileOutcome::Fail(std::string strText, std::string strReason) {
    fate = EFileFate::Failed;
    messages.push_back({std::move(strText), std::move(strReason)});
}

void SFileOutcome::Decline(std::string strQuestion, std::string strKeptFile,
                           std::string strReason) {
    fate = EFileFate::Declined;
    strDeclinedQuestion = std::move(strQuestion);
    strKept = std::move(strKeptFile);
    messages.push_back({std::string(), std::move(strReason)});
}

void SFileOutcome::Append(SFileOutcome&& later) {
    for (SWrittenFile& file : later.written) {
        written.push_back(std::move(file));
    }
    for (std::string& strPath : later.incomplete) {
        incomplete.push_back(std::move(strPath));
    }
    for (SFileMessage& message : later.messages) {
        messages.push_back(std::move(message));
    }
    for (SAnsweredQuestion& question : later.questions) {
        questions.push_back(std::move(question));
    }
    damage.Add(later.damage);
    if (later.fate > fate) {
        fate = later.fate;
        strDeclinedQuestion = std::move(later.strDeclinedQuestion);
        strKept = std::move(later.strKept);
    }
}

SFileOutcome FailedWriting(const FileError& error, const std::string& strOutput,
                           bool bOutputCreated) {
    SFileOutcome outcome;
    outcome.Fail(
        error.MessageFor(strOutput) + (bOutputCreated ? "\r\rThe output file is incomplete." : ""),
        error.what());
    if (bOutputCreated) {
        outcome.incomplete.push_back(strOutput);
    }
    return outcome;
}

}  // namespace sulvan
