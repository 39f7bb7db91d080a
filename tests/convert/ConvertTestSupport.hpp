#pragma once
// What the conversion tests share: recordings opened with the reader, and the expected .adv
// bytes written field by field from the layout tables.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CScriptedUserInterface.hpp"
#include "CTempDir.hpp"
#include "RecordBuilder.hpp"
#include "platform/ByteOrder.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan::test {

using namespace records;

class ConvertTest : public ::testing::Test {
  protected:
    // Writes the image and opens it as the batch driver does; the test fails when it cannot.
    CInsFile& OpenRecording(const Bytes& image, const std::string& strName = "run1.trs") {
        m_strInput = m_dir.Write(strName, image);
        std::string strName2 = m_strInput;
        SFileOutcome opened;
        EXPECT_EQ(m_reader.Open(strName2, true, &m_ui, opened), 1);
        EXPECT_TRUE(m_ui.Events().empty()) << "opening asked or told something";
        return m_reader;
    }

    // Shows the outcome as the dialog does (its messages reach m_ui) and hands it back.
    SFileOutcome Told(SFileOutcome outcome) {
        m_ui.ReportOutcome(outcome);
        return outcome;
    }

    CTempDir m_dir;
    CScriptedUserInterface m_ui;
    CInsFile m_reader;
    std::string m_strInput;
};

inline void PutF32(Bytes& bytes, std::size_t nOffset, double dValue) {
    WriteF32Le(bytes.data() + nOffset, static_cast<float>(dValue));
}
inline void PutU16(Bytes& bytes, std::size_t nOffset, std::uint16_t nValue) {
    WriteU16Le(bytes.data() + nOffset, nValue);
}
inline void PutI16(Bytes& bytes, std::size_t nOffset, std::int16_t nValue) {
    WriteI16Le(bytes.data() + nOffset, nValue);
}
inline void PutText(Bytes& bytes, std::size_t nOffset, const char* pText) {
    std::memcpy(bytes.data() + nOffset, pText, std::strlen(pText));
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

}  // namespace sulvan::test
