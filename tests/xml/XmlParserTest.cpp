#include "xml/XmlParser.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace MyXML {
namespace {

DocumentRef Parse(const std::string& strText) {
    std::istringstream input(strText);
    return ParseDocument(input);
}

std::string Written(const Node& node) {
    std::ostringstream out;
    node.Write(out);
    return out.str();
}

std::string Repeated(const std::string& strText, int nTimes) {
    std::string strAll;
    for (int i = 0; i < nTimes; ++i) {
        strAll += strText;
    }
    return strAll;
}

std::vector<int> TypesOf(const std::vector<NodeRef>& nodes) {
    std::vector<int> types;
    for (const NodeRef& node : nodes) {
        types.push_back(node->TypeCode());
    }
    return types;
}

TEST(XmlParser, MalformedInputRaisesItsErrorWithMessageAndPosition) {
    struct SCase {
        std::string strInput;
        std::string strMessage;
        std::streamoff nPosition;
    };
    const SCase cases[] = {
        {"<!-- only a comment -->", "There is no element in the file", 0},
        {"<a><b></a>", "Ending tag of 'a' found but 'b' expected", 9},
        {"</a>", "Ending tag of 'a' found but '' expected", 3},
        {"<a b=c/>", "One of '\"'' characters expected", 5},
        {"<a b 'c'/>", "'=' character expected", 5},
        {"<a-b/>", "'>' character expected", 3},
        {"<a/ >", "'>' character expected", 4},
        {"<a", "Unexpected end of file", 2},
        {"<a><b/>text", "Unexpected end of file", 11},
        {"<a><!-- open", "Unexpected end of file", 12},
        {"<a b='open", "Unexpected end of file", 10},
        {Repeated("<e>", kMaxNestingDepth + 1), "Elements are nested more than 512 levels deep",
         3 * kMaxNestingDepth + 1},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.strInput);
        try {
            Parse(c.strInput);
            ADD_FAILURE() << "parsed";
        } catch (const ParserError& error) {
            EXPECT_EQ(error.what(), c.strMessage);
            EXPECT_EQ(error.Position(), c.nPosition);
        }
    }
    // The classes as well as the texts.
    EXPECT_THROW(Parse("<a b 'c'/>"), EquationExpected);
    EXPECT_THROW(Parse("<a b=c/>"), AttributeValueExpected);
    EXPECT_THROW(Parse("<a-b/>"), TagEndExpected);
    EXPECT_THROW(Parse("<a><b></a>"), ElementEndExpected);
    EXPECT_THROW(Parse("<a"), UnexpectedEOF);
    EXPECT_THROW(Parse(""), MainElementMissing);
}

TEST(XmlParser, NestingUpToTheLimitParses) {
    const std::string strText =
        Repeated("<e>", kMaxNestingDepth - 1) + "<e/>" + Repeated("</e>", kMaxNestingDepth - 1);
    EXPECT_TRUE(Written(*Parse(strText)) == strText);
}

TEST(XmlParser, NodesAreKeptAsTheyStand) {
    const DocumentRef document = Parse(
        "<?xml version=\"1.0\"?>\n<!-- c -->\n<root a='1' a=\"2\">\n <b>x &amp; y</b>"
        "<!-- x --->y--><!DOCTYPE z></root><second/> ");
    EXPECT_EQ(TypesOf(document->m_prolog), (std::vector<int>{7, 3, 8, 3}));
    EXPECT_EQ(TypesOf(document->m_epilog), (std::vector<int>{1, 3}));
    const Element& root = *document->m_root;
    EXPECT_EQ(root.Name(), "root");
    EXPECT_EQ(root.Attribute("a"), "1");  // the first of a name wins
    EXPECT_FALSE(root.Attribute("A"));
    EXPECT_EQ(TypesOf({root.Child(0), root.Child(1), root.Child(2), root.Child(3)}),
              (std::vector<int>{3, 1, 8, 8}));
    EXPECT_EQ(Written(*root.Child(1)), "<b>x &amp; y</b>");
    // Three hyphens and '>' do not close a comment; the next "-->" does.
    EXPECT_EQ(Written(*root.Child(2)), "<!-- x --->y-->");
    EXPECT_EQ(Written(*root.Child(3)), "<!DOCTYPE z>");
    EXPECT_EQ(root.FindChildElement("b").second, 1u);
    EXPECT_FALSE(root.FindChildElement("b", 2).first);
    EXPECT_EQ(root.Child(1)->Parent().Get(), &root);
}

TEST(XmlParser, WritingWhatWasParsedGivesTheTextBack) {
    for (const char* pText :
         {"<a/>", "<a x=\"1\" y=\"2\"><b>text</b>\n<c/></a>", "<?pi ? x?><a><!-- - -x --></a>\n",
          "<!-x><a>&lt;kept&gt;</a><!--tail-->"}) {
        EXPECT_EQ(Written(*Parse(pText)), pText);
    }
}

}  // namespace
}  // namespace MyXML
