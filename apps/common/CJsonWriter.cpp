#include "CJsonWriter.hpp"

#include <cmath>
#include <cstdio>

namespace sulvan {
namespace {

// The length of the well-formed UTF-8 sequence of two bytes or more at i; 0 when there is none.
std::size_t Utf8SequenceAt(std::string_view strText, std::size_t i) {
    const auto lead = static_cast<unsigned char>(strText[i]);
    const std::size_t nLength = lead >= 0xF0 && lead <= 0xF4   ? 4
                                : lead >= 0xE0 && lead <= 0xEF ? 3
                                : lead >= 0xC2 && lead <= 0xDF ? 2
                                                               : 0;
    if (nLength == 0 || i + nLength > strText.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < nLength; ++k) {
        if ((static_cast<unsigned char>(strText[i + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return nLength;
}

}  // namespace

void CJsonWriter::String(std::string_view strKey, std::string_view strValue) {
    Key(strKey);
    Quoted(strValue);
}

void CJsonWriter::Number(std::string_view strKey, double dValue) {
    Key(strKey);
    if (!std::isfinite(dValue)) {
        m_out << "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", dValue);
    m_out << text;
}

void CJsonWriter::Integer(std::string_view strKey, std::uint64_t nValue) {
    Key(strKey);
    m_out << nValue;
}

void CJsonWriter::Bool(std::string_view strKey, bool bValue) {
    Key(strKey);
    m_out << (bValue ? "true" : "false");
}

void CJsonWriter::Null(std::string_view strKey) {
    Key(strKey);
    m_out << "null";
}

void CJsonWriter::Open(std::string_view strKey, char cBracket) {
    Key(strKey);
    m_out << cBracket;
    m_bFirst = true;
    ++m_nDepth;
}

void CJsonWriter::Close(char cBracket) {
    m_out << cBracket;
    m_bFirst = false;
    if (--m_nDepth == 0) {
        m_out << '\n';
        m_bFirst = true;
    }
}

void CJsonWriter::Key(std::string_view strKey) {
    if (!m_bFirst) {
        m_out << ',';
    }
    m_bFirst = false;
    if (!strKey.empty()) {
        Quoted(strKey);
        m_out << ':';
    }
}

void CJsonWriter::Quoted(std::string_view strText) {
    m_out << '"';
    for (std::size_t i = 0; i < strText.size(); ++i) {
        const char c = strText[i];
        const auto u = static_cast<unsigned char>(c);
        if (const std::size_t nSequence = Utf8SequenceAt(strText, i); nSequence > 1) {
            // File names are UTF-8: they stay as they are.
            m_out << strText.substr(i, nSequence);
            i += nSequence - 1;
        } else if (c == '"' || c == '\\') {
            m_out << '\\' << c;
        } else if (c == '\n') {
            m_out << "\\n";
        } else if (u < 0x20 || u >= 0x7F) {
            // Text fields of recordings are 8-bit and may hold anything: written as code points.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            m_out << escaped;
        } else {
            m_out << c;
        }
    }
    m_out << '"';
}

}  // namespace sulvan
