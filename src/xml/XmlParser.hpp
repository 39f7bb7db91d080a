#pragma once
// The XML parser: 8-bit characters, no entity or character references, no CDATA sections, no
// namespaces, no validation. Text is kept exactly as it stands. Malformed input raises one of
// the parser errors below and yields no document.

#include <exception>
#include <istream>
#include <string>

#include "xml/XmlNodes.hpp"

namespace MyXML {

class ParserError : public std::exception {
  public:
    ParserError(std::string strMessage, std::streamoff nPosition)
        : m_strMessage(std::move(strMessage)), m_nPosition(nPosition) {}
    const char* what() const noexcept override { return m_strMessage.c_str(); }
    // Where the input stream stood when the error was raised.
    std::streamoff Position() const { return m_nPosition; }

  private:
    std::string m_strMessage;
    std::streamoff m_nPosition;
};

class UnexpectedEOF : public ParserError {
  public:
    explicit UnexpectedEOF(std::istream& input);
};

class MainElementMissing : public ParserError {
  public:
    MainElementMissing() : ParserError("There is no element in the file", 0) {}
};

class CharExpected : public ParserError {
  public:
    CharExpected(char cExpected, std::streamoff nPosition)
        : ParserError(std::string("'") + cExpected + "' character expected", nPosition) {}
};

class TagEndExpected : public CharExpected {
  public:
    explicit TagEndExpected(std::streamoff nPosition) : CharExpected('>', nPosition) {}
};

class EquationExpected : public CharExpected {
  public:
    explicit EquationExpected(std::streamoff nPosition) : CharExpected('=', nPosition) {}
};

class OneOfCharsExpected : public ParserError {
  public:
    OneOfCharsExpected(const std::string& strAccepted, std::streamoff nPosition)
        : ParserError("One of '" + strAccepted + "' characters expected", nPosition) {}
};

class AttributeValueExpected : public OneOfCharsExpected {
  public:
    explicit AttributeValueExpected(std::streamoff nPosition)
        : OneOfCharsExpected("\"'", nPosition) {}
};

class ElementEndExpected : public ParserError {
  public:
    ElementEndExpected(const std::string& strFound, const std::string& strOpen,
                       std::streamoff nPosition)
        : ParserError("Ending tag of '" + strFound + "' found but '" + strOpen + "' expected",
                      nPosition) {}
};

// Elements may nest this deep; deeper input is refused rather than run out of stack.
inline constexpr int kMaxNestingDepth = 512;

class NestingTooDeep : public ParserError {
  public:
    explicit NestingTooDeep(std::streamoff nPosition)
        : ParserError(
              "Elements are nested more than " + std::to_string(kMaxNestingDepth) + " levels deep",
              nPosition) {}
};

// Reads the whole stream as one document. Throws the parser errors.
DocumentRef ParseDocument(std::istream& input);

}  // namespace MyXML
