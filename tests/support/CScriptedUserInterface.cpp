#include "CScriptedUserInterface.hpp"

#include <gtest/gtest.h>

namespace sulvan::test {

CScriptedUserInterface& CScriptedUserInterface::Answer(bool bAnswer) {
    m_answers.push_back(bAnswer);
    return *this;
}

void CScriptedUserInterface::ShowMessage(const std::string& strText) {
    m_events.push_back({EUiCall::Message, strText, 0});
}

bool CScriptedUserInterface::AskOkCancel(const std::string& strText) {
    return NextAnswer(EUiCall::OkCancel, strText);
}

bool CScriptedUserInterface::AskYesNo(const std::string& strText) {
    return NextAnswer(EUiCall::YesNo, strText);
}

void CScriptedUserInterface::BeginWait() {
    ++m_nWaitDepth;
    m_events.push_back({EUiCall::BeginWait, {}, m_nWaitDepth});
}

void CScriptedUserInterface::EndWait() {
    EXPECT_GT(m_nWaitDepth, 0) << "EndWait without BeginWait";
    --m_nWaitDepth;
    m_events.push_back({EUiCall::EndWait, {}, m_nWaitDepth});
}

void CScriptedUserInterface::SetProgress(int nPercent) {
    m_events.push_back({EUiCall::Progress, {}, nPercent});
}

std::vector<std::string> CScriptedUserInterface::Messages() const {
    std::vector<std::string> texts;
    for (const SUiEvent& event : m_events) {
        if (event.call == EUiCall::Message) {
            texts.push_back(event.strText);
        }
    }
    return texts;
}

std::vector<std::string> CScriptedUserInterface::Questions() const {
    std::vector<std::string> texts;
    for (const SUiEvent& event : m_events) {
        if (event.call == EUiCall::OkCancel || event.call == EUiCall::YesNo) {
            texts.push_back(event.strText);
        }
    }
    return texts;
}

std::vector<int> CScriptedUserInterface::ProgressSteps() const {
    std::vector<int> steps;
    for (const SUiEvent& event : m_events) {
        if (event.call == EUiCall::Progress) {
            steps.push_back(event.nValue);
        }
    }
    return steps;
}

bool CScriptedUserInterface::NextAnswer(EUiCall call, const std::string& strText) {
    bool bAnswer = false;
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << strText;
    } else {
        bAnswer = m_answers.front();
        m_answers.pop_front();
    }
    m_events.push_back({call, strText, bAnswer ? 1 : 0});
    return bAnswer;
}

}  // namespace sulvan::test
