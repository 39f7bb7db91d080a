#include "xml/XmlParser.hpp"

#include <locale>

namespace MyXML {
namespace {

bool IsSpace(char c) {
    return std::isspace(c, std::locale::classic());
}

bool IsNameChar(char c) {
    return std::isalnum(c, std::locale::classic()) || c == '_';
}

class CParser {
  public:
    explicit CParser(std::istream& input) : m_input(input) {}

    DocumentRef ParseDocument() {
        DocumentRef document = Create<Document>();
        for (;;) {
            bool bEnd = false;
            NodeRef node = NextNode(std::string(), bEnd, 0);
            if (bEnd) {
                break;
            }
            if (!document->m_root && node->TypeCode() == kElementNode) {
                document->m_root = Quolib::RefCast<Element>(node);
            } else {
                (document->m_root ? document->m_epilog : document->m_prolog).push_back(node);
            }
        }
        if (!document->m_root) {
            throw MainElementMissing();
        }
        return document;
    }

  private:
    static constexpr int kEnd = std::char_traits<char>::eof();

    int Peek() { return m_input.peek(); }
    // The next character; the end of the input raises UnexpectedEOF.
    char Get() {
        const int c = m_input.get();
        if (c == kEnd) {
            throw UnexpectedEOF(m_input);
        }
        return static_cast<char>(c);
    }
    std::streamoff Position() { return m_input.tellg(); }
    void SkipSpace() {
        while (Peek() != kEnd && IsSpace(static_cast<char>(Peek()))) {
            m_input.get();
        }
    }

    // The node that starts here, or none with bEnd set when the input ended (top level only) or
    // the end tag of the open element was read.
    NodeRef NextNode(const std::string& strOpen, bool& bEnd, int nDepth) {
        if (Peek() == kEnd) {
            if (!strOpen.empty()) {
                throw UnexpectedEOF(m_input);
            }
            bEnd = true;
            return {};
        }
        if (Peek() != '<') {
            return ReadText();
        }
        m_input.get();
        switch (Peek()) {
            case '!':
                m_input.get();
                return ReadCommentOrDirective();
            case '?':
                m_input.get();
                return ReadProcessingInstruction();
            case '/':
                m_input.get();
                ReadEndTag(strOpen);
                bEnd = true;
                return {};
            default:
                return ReadElement(nDepth + 1);
        }
    }

    NodeRef ReadText() {
        Quolib::Ref<TextNode> text = Create<TextNode>();
        while (Peek() != kEnd && Peek() != '<') {
            text->m_strText += static_cast<char>(m_input.get());
        }
        return text;
    }

    NodeRef ReadCommentOrDirective() {
        if (Peek() == '-') {
            m_input.get();
            if (Peek() == '-') {
                m_input.get();
                return ReadComment();
            }
            return ReadDirective("-");
        }
        return ReadDirective("");
    }

    // A hyphen is examined with the two characters after it; a run that does not close the
    // comment is text, and its last character is not looked at again.
    NodeRef ReadComment() {
        Quolib::Ref<Comment> comment = Create<Comment>();
        std::string& strText = comment->m_strText;
        for (;;) {
            const char c = Get();
            if (c != '-') {
                strText += c;
                continue;
            }
            const char c2 = Get();
            if (c2 != '-') {
                strText += {c, c2};
                continue;
            }
            const char c3 = Get();
            if (c3 == '>') {
                return comment;
            }
            strText += {c, c2, c3};
        }
    }

    NodeRef ReadDirective(std::string strText) {
        Quolib::Ref<Directive> directive = Create<Directive>();
        while (Peek() != kEnd && Peek() != '>') {
            strText += static_cast<char>(m_input.get());
        }
        if (Peek() == '>') {
            m_input.get();
        }
        directive->m_strText = std::move(strText);
        return directive;
    }

    NodeRef ReadProcessingInstruction() {
        Quolib::Ref<ProcessingInstruction> instruction = Create<ProcessingInstruction>();
        for (;;) {
            const char c = Get();
            if (c != '?') {
                instruction->m_strText += c;
                continue;
            }
            const char c2 = Get();
            if (c2 == '>') {
                return instruction;
            }
            instruction->m_strText += {c, c2};
        }
    }

    void ReadEndTag(const std::string& strOpen) {
        const std::string strName = ReadName();
        if (strName != strOpen) {
            throw ElementEndExpected(strName, strOpen, Position());
        }
        SkipSpace();
        if (Peek() != '>') {
            throw TagEndExpected(Position());
        }
        m_input.get();
    }

    NodeRef ReadElement(int nDepth) {
        if (nDepth > kMaxNestingDepth) {
            throw NestingTooDeep(Position());
        }
        ElementRef element = Create<Element>();
        element->SetName(ReadName());
        for (std::string strName = ReadName(); !strName.empty(); strName = ReadName()) {
            SkipSpace();
            if (Peek() != '=') {
                throw EquationExpected(Position());
            }
            m_input.get();
            SkipSpace();
            if (Peek() != '"' && Peek() != '\'') {
                throw AttributeValueExpected(Position());
            }
            const char cQuote = Get();
            std::string strValue;
            for (char c = Get(); c != cQuote; c = Get()) {
                strValue += c;
            }
            element->AddAttribute(std::move(strName), std::move(strValue));
        }
        SkipSpace();
        char c = Get();
        if (c == '/') {
            c = Get();
            if (c != '>') {
                throw TagEndExpected(Position());
            }
            return element;
        }
        if (c != '>') {
            throw TagEndExpected(Position());
        }
        while (m_input.good()) {
            bool bEnd = false;
            NodeRef child = NextNode(element->Name(), bEnd, nDepth);
            if (bEnd) {
                return element;
            }
            Element::AddChild(element, std::move(child));
        }
        throw UnexpectedEOF(m_input);
    }

    // Letters, digits and '_' after any whitespace; the character that ends the name stays.
    std::string ReadName() {
        SkipSpace();
        std::string strName;
        for (;;) {
            const int c = Peek();
            if (c == kEnd) {
                throw UnexpectedEOF(m_input);
            }
            if (!IsNameChar(static_cast<char>(c))) {
                return strName;
            }
            strName += static_cast<char>(m_input.get());
        }
    }

    std::istream& m_input;
};

std::streamoff PositionAtEnd(std::istream& input) {
    input.clear();
    input.seekg(0, std::ios::end);
    return input.tellg();
}

}  // namespace

UnexpectedEOF::UnexpectedEOF(std::istream& input)
    : ParserError("Unexpected end of file", PositionAtEnd(input)) {}

DocumentRef ParseDocument(std::istream& input) {
    return CParser(input).ParseDocument();
}

}  // namespace MyXML
