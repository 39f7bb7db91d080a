#pragma once
// What the reader tests share: a folder for their files, a scripted user and a few
// recordings.

#include <gtest/gtest.h>

#include <string>

#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "RecordBuilder.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan::test {

using namespace records;

class ReaderTest : public ::testing::Test {
  protected:
    // Opens a file holding the image; the name may be replaced by a repair.
    int Open(const std::string& strName, const Bytes& image, bool bChecksum = true) {
        m_strName = m_dir.Write(strName, image);
        return m_reader.Open(m_strName, bChecksum, &m_ui, m_outcome);
    }

    // The message texts and reasons the opens gave, in order.
    std::vector<std::string> OutcomeTexts() const {
        std::vector<std::string> texts;
        for (const SFileMessage& message : m_outcome.messages) {
            texts.push_back(message.strText + " | " + message.strReason);
        }
        return texts;
    }

    // A short continuous Tarsis recording: the standard configuration, then system and
    // velocity samples.
    static Bytes TarsisRecording(const SUserOptions& user = {}) {
        return CRecordingBuilder()
            .Add(StandardConfiguration("TRS 1001", "1.08", {}, user))
            .Add(SystemSample())
            .Add(VelocitySample())
            .Add(VelocitySample())
            .Image();
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CInsFile m_reader;
    SFileOutcome m_outcome;
    std::string m_strName;
};

}  // namespace sulvan::test
