// Our parser against an established one (expat) on generated well-formed documents without
// entities, CDATA or DOCTYPE: the elements, their attributes in order and the text nodes must
// come out the same.

#include <expat.h>
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "xml/XmlParser.hpp"

namespace MyXML {
namespace {

class CGenerator {
  public:
    explicit CGenerator(unsigned nSeed) : m_random(nSeed) {}

    std::string Document() {
        std::string strText = Pick(2) == 0 ? "<?xml version=\"1.0\"?>\n" : "";
        return strText + Element(0) + (Pick(2) == 0 ? "\n<!-- end -->" : "");
    }

  private:
    unsigned Pick(unsigned n) {
        return std::uniform_int_distribution<unsigned>(0, n - 1)(m_random);
    }

    std::string Name() {
        static const std::string kFirst = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
        static const std::string kRest = kFirst + "0123456789";
        std::string strName(1, kFirst[Pick(static_cast<unsigned>(kFirst.size()))]);
        for (unsigned i = Pick(6); i > 0; --i) {
            strName += kRest[Pick(static_cast<unsigned>(kRest.size()))];
        }
        return strName;
    }

    // Printable characters and line breaks, without markup; '>' is allowed in text.
    std::string Text(const std::string& strExcluded) {
        std::string strText;
        for (unsigned i = 1 + Pick(12); i > 0; --i) {
            char c = static_cast<char>(' ' + Pick(95));
            if (strExcluded.find(c) != std::string::npos) {
                c = Pick(2) == 0 ? '\n' : ' ';
            }
            strText += c;
        }
        return strText;
    }

    std::string Element(int nDepth) {
        const std::string strName = Name();
        std::string strText = "<" + strName;
        for (unsigned i = Pick(4); i > 0; --i) {
            const char cQuote = Pick(2) == 0 ? '"' : '\'';
            // Names stay unique: a well-formed element has each attribute once.
            strText += " " + Name() + std::to_string(i) + "=" + cQuote +
                       SingleLine(Text(std::string("<&]") + cQuote)) + cQuote;
        }
        const unsigned nChildren = nDepth < 5 ? Pick(5) : 0;
        if (nChildren == 0 && Pick(2) == 0) {
            return strText + "/>";
        }
        strText += ">";
        for (unsigned i = 0; i < nChildren; ++i) {
            switch (Pick(3)) {
                case 0:
                    strText += Text("<&]");
                    break;
                case 1:
                    strText += "<!--" + Text("<&]-") + "-->";
                    break;
                default:
                    strText += Element(nDepth + 1);
                    break;
            }
        }
        return strText + "</" + strName + ">";
    }

    static std::string SingleLine(std::string strText) {
        for (char& c : strText) {
            c = c == '\n' ? ' ' : c;
        }
        return strText;
    }

    std::mt19937 m_random;
};

// A canonical form of the root's tree: E(name a=v ...)[children], T'text'.
void Describe(const Element& element, std::string& strOut) {
    strOut += "E(" + element.Name();
    for (const auto& [strName, strValue] : element.Attributes()) {
        strOut += " " + strName + "=" + strValue;
    }
    strOut += ")[";
    for (std::size_t i = 0; i < element.ChildCount(); ++i) {
        const NodeRef& child = element.Child(i);
        if (child->TypeCode() == kElementNode) {
            Describe(*Quolib::RefCast<Element>(child), strOut);
        } else if (child->TypeCode() == kTextNode) {
            strOut += "T'" + Quolib::RefCast<TextNode>(child)->m_strText + "'";
        }
    }
    strOut += "]";
}

// The same form from expat's events; a comment ends a run of text, as it does in our tree.
struct SExpatTree {
    std::string strOut;
    std::string strText;
    int nDepth = 0;

    void FlushText() {
        if (nDepth > 0 && !strText.empty()) {
            strOut += "T'" + strText + "'";
        }
        strText.clear();
    }
    static void Start(void* pData, const XML_Char* pName, const XML_Char** pAttributes) {
        auto& tree = *static_cast<SExpatTree*>(pData);
        tree.FlushText();
        tree.strOut += std::string("E(") + pName;
        for (; *pAttributes != nullptr; pAttributes += 2) {
            tree.strOut += std::string(" ") + pAttributes[0] + "=" + pAttributes[1];
        }
        tree.strOut += ")[";
        ++tree.nDepth;
    }
    static void End(void* pData, const XML_Char*) {
        auto& tree = *static_cast<SExpatTree*>(pData);
        tree.FlushText();
        tree.strOut += "]";
        --tree.nDepth;
    }
    static void Characters(void* pData, const XML_Char* pText, int nLength) {
        static_cast<SExpatTree*>(pData)->strText.append(pText, static_cast<std::size_t>(nLength));
    }
    static void CommentSeen(void* pData, const XML_Char*) {
        static_cast<SExpatTree*>(pData)->FlushText();
    }
};

std::string DescribeWithExpat(const std::string& strText) {
    SExpatTree tree;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &tree);
    XML_SetElementHandler(parser, SExpatTree::Start, SExpatTree::End);
    XML_SetCharacterDataHandler(parser, SExpatTree::Characters);
    XML_SetCommentHandler(parser, SExpatTree::CommentSeen);
    const bool bParsed =
        XML_Parse(parser, strText.data(), static_cast<int>(strText.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return bParsed ? tree.strOut : "expat refused it";
}

TEST(XmlDifferential, TreesMatchAnEstablishedParserOnGeneratedDocuments) {
    CGenerator generator(20261207);
    for (int i = 0; i < 2000; ++i) {
        const std::string strText = generator.Document();
        std::istringstream input(strText);
        std::string strOurs;
        Describe(*ParseDocument(input)->m_root, strOurs);
        ASSERT_EQ(strOurs, DescribeWithExpat(strText)) << strText;
    }
}

}  // namespace
}  // namespace MyXML
