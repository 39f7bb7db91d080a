#pragma once
// What the library may ask of the person using it. Front ends implement it (a window, a
// terminal, a test script); the library never talks to the user any other way. Texts use "\r"
// as the line break; a front end turns it into whatever its medium uses.

#include <string>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface {
  public:
    virtual ~CUserInterface() = default;

    // A message with an OK button.
    virtual void ShowMessage(const std::string& strText) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const std::string& strText) = 0;
    // A question with Yes and No, Yes the default; true for Yes.
    virtual bool AskYesNo(const std::string& strText) = 0;
    // Shown around work that keeps the user waiting; calls nest.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    // Progress of the current file, 0 to 100.
    virtual void SetProgress(int nPercent) = 0;
    // What happened to a file, told once, as soon as the file is done. A dialog shows the
    // messages that have a text, one box each, in order.
    virtual void ReportOutcome(const SFileOutcome& outcome) {
        for (const SFileMessage& message : outcome.messages) {
            if (!message.strText.empty()) {
                ShowMessage(message.strText);
            }
        }
    }
};

// Shows the wait cursor for as long as it lives.
class CWaitCursor {
  public:
    explicit CWaitCursor(CUserInterface& ui) : m_ui(ui) { m_ui.BeginWait(); }
    ~CWaitCursor() { m_ui.EndWait(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

  private:
    CUserInterface& m_ui;
};

}  // namespace sulvan
