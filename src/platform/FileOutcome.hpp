#pragma once
// What happened to one input file, as a value. The reader, the converters and the per-file
// drivers fill it; the batch driver collects one per file; the front ends decide how to show it
// (message boxes in the dialog, standard output and error or JSON on the command line).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DamageReport.hpp"

namespace sulvan {

class FileError;

enum class EFileFate {
    Converted,  // every output was written whole
    Declined,   // a question was answered No (Cancel), and the file was left as it was
    Failed,     // the messages say why; what was written stays on disk
};

// A file this run wrote whole.
struct SWrittenFile {
    std::string strPath;
    // The data records it holds; none for a byte-for-byte copy, which is not walked.
    std::optional<std::uint64_t> nDataRecords;
};

// A message the library gives about a file.
struct SFileMessage {
    // What a message box shows, with "\r" line breaks; empty when no box is shown.
    std::string strText;
    // The reason alone, for a one-line report; empty when the text only restates an earlier one.
    std::string strReason;
};

struct SAnsweredQuestion {
    std::string strText;
    bool bOkCancel = false;  // asked with OK and Cancel, not Yes and No
    bool bYes = false;       // Yes or OK
};

struct SFileOutcome {
    std::string strInput;
    EFileFate fate = EFileFate::Converted;
    std::vector<SWrittenFile> written;    // complete files, in the order they were finished
    std::vector<std::string> incomplete;  // files created and left unfinished
    std::vector<SFileMessage> messages;
    std::vector<SAnsweredQuestion> questions;
    // What the conversions of the file passed over as damage.
    SDamageReport damage;
    // When declined: the question answered No, and the existing output it kept, if any.
    std::string strDeclinedQuestion;
    std::string strKept;
    // The name the dialog lists under "Converted files"; empty when it lists none.
    std::string strListedName;

    bool IsFailed() const { return fate == EFileFate::Failed; }
    // Data records in the files written whole (a copy that was not walked counts none).
    std::uint64_t DataRecords() const;

    void Fail(std::string strText, std::string strReason);
    // strReason says what was declined and what was kept, for a one-line report.
    void Decline(std::string strQuestion, std::string strKept, std::string strReason);
    // Takes what a later step of the same file did: its files, messages and questions, and its
    // fate when that is worse.
    void Append(SFileOutcome&& later);
};

// A failure while strOutput was written: the converters' message (the output named, the reason,
// and a line saying the output is incomplete when it was created), with the output listed as
// incomplete.
SFileOutcome FailedWriting(const FileError& error, const std::string& strOutput,
                           bool bOutputCreated);

}  // namespace sulvan
