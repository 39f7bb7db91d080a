// Arbitrary bytes as the probe configuration of a Corvane recording: read, or refused with one
// of the configuration's or the parser's errors; never a crash, a hang or a leak, and never more
// probes than the configuration may hold.

#include <sstream>
#include <stdexcept>

#include "FuzzTargets.hpp"
#include "xml/MiraveloConfig.hpp"
#include "xml/XmlParser.hpp"

namespace sulvan::fuzz {

int FuzzMiraveloConfig(const std::uint8_t* pData, std::size_t nSize) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(pData), nSize));
    MiraveloConfig config;
    try {
        ReadMiraveloConfig(input, config);
        Require(config.probes.size() <= kMaxProbeConfigs, "at most the probes a file may hold");
    } catch (const MyXML::ParserError&) {
    } catch (const std::logic_error&) {
    }
    return 0;
}

}  // namespace sulvan::fuzz
