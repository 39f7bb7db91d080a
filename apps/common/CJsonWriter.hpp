#pragma once
// A small writer of one JSON object per line: what scripts read from the programs' --json.

#include <cstdint>
#include <ostream>
#include <string_view>

namespace sulvan {

class CJsonWriter {
  public:
    explicit CJsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject(std::string_view strKey = {}) { Open(strKey, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(std::string_view strKey = {}) { Open(strKey, '['); }
    void EndArray() { Close(']'); }

    void String(std::string_view strKey, std::string_view strValue);
    void Number(std::string_view strKey, double dValue);
    void Integer(std::string_view strKey, std::uint64_t nValue);
    void Bool(std::string_view strKey, bool bValue);
    void Null(std::string_view strKey);

  private:
    void Open(std::string_view strKey, char cBracket);
    void Close(char cBracket);
    // The comma before a value and its key (none inside arrays).
    void Key(std::string_view strKey);
    void Quoted(std::string_view strText);

    std::ostream& m_out;
    bool m_bFirst = true;
    int m_nDepth = 0;
};

}  // namespace sulvan
