// Arbitrary bytes as the probe configuration of a recording: read, or refused with one of the
// configuration's or the parser's errors, never a crash, a hang or a leak.
// Run: build/fuzz/sulvan_fuzz_miravelo_config -max_total_time=60 CORPUS_FOLDER

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

#include "xml/MiraveloConfig.hpp"
#include "xml/XmlParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(pData), nSize));
    sulvan::MiraveloConfig config;
    try {
        sulvan::ReadMiraveloConfig(input, config);
    } catch (const MyXML::ParserError&) {
    } catch (const std::logic_error&) {
    }
    return 0;
}
