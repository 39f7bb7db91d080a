#pragma once
// A user-interface double for tests: records every call in order and answers questions from a
// queue. A question without a queued answer fails the test and is answered No / Cancel.

#include <deque>
#include <string>
#include <vector>

#include "platform/CUserInterface.hpp"

namespace sulvan::test {

enum class EUiCall { Message, OkCancel, YesNo, BeginWait, EndWait, Progress };

struct SUiEvent {
    EUiCall call;
    std::string strText;  // messages and questions
    int nValue = 0;       // progress, or the answer given (1 yes/OK, 0 no/Cancel)

    bool operator==(const SUiEvent&) const = default;
};

class CScriptedUserInterface : public CUserInterface {
  public:
    // Queues the answer to the next question (true: OK or Yes).
    CScriptedUserInterface& Answer(bool bAnswer);

    void ShowMessage(const std::string& strText) override;
    bool AskOkCancel(const std::string& strText) override;
    bool AskYesNo(const std::string& strText) override;
    void BeginWait() override;
    void EndWait() override;
    void SetProgress(int nPercent) override;

    const std::vector<SUiEvent>& Events() const { return m_events; }
    // Texts of the messages shown, in order.
    std::vector<std::string> Messages() const;
    // Texts of the questions asked (either kind), in order.
    std::vector<std::string> Questions() const;
    std::vector<int> ProgressSteps() const;
    int WaitDepth() const { return m_nWaitDepth; }
    std::size_t UnusedAnswers() const { return m_answers.size(); }

  private:
    bool NextAnswer(EUiCall call, const std::string& strText);

    std::vector<SUiEvent> m_events;
    std::deque<bool> m_answers;
    int m_nWaitDepth = 0;
};

}  // namespace sulvan::test
