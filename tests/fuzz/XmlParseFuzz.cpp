// Arbitrary bytes as XML text: the parser must return a document or raise one of its errors,
// and never crash, hang or leak. A document it returns must write out and parse again.
// Run: cmake --preset fuzz && cmake --build --preset fuzz &&
//      build/fuzz/sulvan_fuzz_xml_parse -max_total_time=60 CORPUS_FOLDER

#include <cstdint>
#include <sstream>
#include <string>

#include "xml/XmlParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
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
