#include "xml/XmlParser.hpp"

#include <array>
#include <locale>

namespace MyXML {
namespace {

// The classic locale's whitespace, letters and digits, looked up once.
struct SCharClasses {
    SCharClasses() {
        const auto& ctype = std::use_facet<std::ctype<char>>(std::locale::classic());
        for (int c = 0; c < 256; ++c) {
            const auto ch = static_cast<char>(c);
            space[static_cast<std::size_t>(c)] = ctype.is(std::ctype_base::space, ch);
            name[static_cast<std::size_t>(c)] = ctype.is(std::ctype_base::alnum, ch) || ch == '_';
        }
    }
    std::array<bool, 256> space{};
    std::array<bool, 256> name{};
};

const SCharClasses& CharClasses() {
    static const SCharClasses s_classes;
    return s_classes;
}

bool IsSpace(char c) {
    return CharClasses().space[static_cast<unsigned char>(c)];
}

bool IsNameChar(char c) {
    return CharClasses().name[static_cast<unsigned char>(c)];
}

class CParser {
  public:
    explicit CParser(std::istream& input) : m_input(input), m_buffer(*input.rdbuf()) {}

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

    // Characters come straight from the stream's buffer: a sentry per character would cost
    // more than the parsing.
    int Peek() { return m_buffer.sgetc(); }
    void Skip() { m_buffer.sbumpc(); }
    // The next character; the end of the input raises UnexpectedEOF.
    char Get() {
        const int c = m_buffer.sbumpc();
        if (c == kEnd) {
            throw UnexpectedEOF(m_input);
        }
        return static_cast<char>(c);
    }
    std::streamoff Position() { return m_buffer.pubseekoff(0, std::ios::cur, std::ios::in); }
    void SkipSpace() {
        while (Peek() != kEnd && IsSpace(static_cast<char>(Peek()))) {
            Skip();
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
        Skip();
        switch (Peek()) {
            case '!':
                Skip();
                return ReadCommentOrDirective();
            case '?':
                Skip();
                return ReadProcessingInstruction();
            case '/':
                Skip();
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
            text->m_strText += static_cast<char>(m_buffer.sbumpc());
        }
        return text;
    }

    NodeRef ReadCommentOrDirective() {
        if (Peek() == '-') {
            Skip();
            if (Peek() == '-') {
                Skip();
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
            strText += static_cast<char>(m_buffer.sbumpc());
        }
        if (Peek() == '>') {
            Skip();
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
        Skip();
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
            Skip();
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
        // The end of the input inside the element raises UnexpectedEOF in NextNode.
        for (;;) {
            bool bEnd = false;
            NodeRef child = NextNode(element->Name(), bEnd, nDepth);
            if (bEnd) {
                return element;
            }
            Element::AddChild(element, std::move(child));
        }
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
            strName += static_cast<char>(m_buffer.sbumpc());
        }
    }

    std::istream& m_input;
    std::streambuf& m_buffer;
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
