// Arbitrary bytes as XML text: the parser returns a document or raises one of its errors, and
// never crashes, hangs or leaks, and a document it returns writes out. The library writes
// without escaping, as the instrument software's own does, so the text written need not parse
// again (an attribute value holding a double quote, an element without a name); parsing it
// again must still end in a document or an error.

#include <sstream>

#include "FuzzTargets.hpp"
#include "xml/XmlParser.hpp"

namespace sulvan::fuzz {

int FuzzXmlParse(const std::uint8_t* pData, std::size_t nSize) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(pData), nSize));
    try {
        const MyXML::DocumentRef document = MyXML::ParseDocument(input);
        std::ostringstream written;
        document->Write(written);
        std::istringstream again(written.str());
        MyXML::ParseDocument(again);
    } catch (const MyXML::ParserError&) {
    }
    return 0;
}

}  // namespace sulvan::fuzz
