#pragma once
// What happened to one input file, as a value. The reader, the converters and the per-file
// drivers fill it; the batch driver collects one per file; the front ends decide how to show it
// (message boxes in the dialog, standard output and error or JSON on the command line).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sulvan {

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
    bool bYes = false;
};

struct SFileOutcome {
    std::string strInput;
    EFileFate fate = EFileFate::Converted;
    std::vector<SWrittenFile> written;    // complete files, in the order they were finished
    std::vector<std::string> incomplete;  // files created and left unfinished
    std::vector<SFileMessage> messages;
    std::vector<SAnsweredQuestion> questions;
    // When declined: the question answered No, and the existing output it kept, if any.
    std::string strDeclinedQuestion;
    std::string strKept;
    // The name the dialog lists under "Converted files"; empty when it lists none.
    std::string strListedName;

    bool IsFailed() const { return fate == EFileFate::Failed; }

    void Fail(std::string strText, std::string strReason) {
        fate = EFileFate::Failed;
        messages.push_back({std::move(strText), std::move(strReason)});
    }

    // Takes what a later step of the same file did: its files, messages and questions, and its
    // fate when that is worse.
    void Append(SFileOutcome&& later) {
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
        if (later.fate > fate) {
            fate = later.fate;
            strDeclinedQuestion = std::move(later.strDeclinedQuestion);
            strKept = std::move(later.strKept);
        }
    }
};

}  // namespace sulvan
