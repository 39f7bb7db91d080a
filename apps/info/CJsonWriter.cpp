#include "CJsonWriter.hpp"

#include <cmath>
#include <cstdio>

namespace sulvan::info {

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
    for (const char c : strText) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_out << '\\' << c;
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

}  // namespace sulvan::info
