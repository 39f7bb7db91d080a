#pragma once
// The user interface a per-file driver hands down: everything goes to the front end's, and every
// question asked about the file is noted in its outcome with the answer given.

#include "platform/CUserInterface.hpp"

namespace sulvan {

class CQuestionLog : public CUserInterface {
  public:
    CQuestionLog(CUserInterface& ui, SFileOutcome& outcome) : m_ui(ui), m_outcome(outcome) {}

    void ShowMessage(const std::string& strText) override { m_ui.ShowMessage(strText); }
    bool AskOkCancel(const std::string& strText) override {
        return Note(strText, true, m_ui.AskOkCancel(strText));
    }
    bool AskYesNo(const std::string& strText) override {
        return Note(strText, false, m_ui.AskYesNo(strText));
    }
    void BeginWait() override { m_ui.BeginWait(); }
    void EndWait() override { m_ui.EndWait(); }
    void SetProgress(int nPercent) override { m_ui.SetProgress(nPercent); }

  private:
    bool Note(const std::string& strText, bool bOkCancel, bool bYes) {
        m_outcome.questions.push_back({strText, bOkCancel, bYes});
        return bYes;
    }

    CUserInterface& m_ui;
    SFileOutcome& m_outcome;
};

}  // namespace sulvan
