// Parse speed of the XML library on a 1 MB probe configuration, and of the configuration
// reader on top of it.

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "xml/MiraveloConfig.hpp"
#include "xml/XmlParser.hpp"

namespace {

// COMMON, then PROBE elements with every setting, until the text holds 1 MB.
const std::string& Configuration() {
    static const std::string strXml = [] {
        std::string strText =
            "<?xml version=\"1.0\"?>\n<MIRAVELO type=\"Sulvan Miravelo\" version=\"1\">\n"
            "<COMMON><BAUD_RATE>115200</BAUD_RATE><SAMPLING_RATE>16</SAMPLING_RATE>"
            "<TEMPERATURE measured=\"1\">12.5</TEMPERATURE><SALINITY>35</SALINITY>"
            "<SOUND_SPEED measured=\"1\">1493.2</SOUND_SPEED></COMMON>\n";
        for (int p = 0; strText.size() < (1u << 20); ++p) {
            strText += "  <PROBE>\n    <TYPE>1</TYPE><SERIAL_NUMBER>MRV-" + std::to_string(p) +
                       "</SERIAL_NUMBER><PORT>COM3</PORT>\n    <VELOCITY_RANGE>4</VELOCITY_RANGE>"
                       "<SAMPLING_VOLUME>14</SAMPLING_VOLUME><TRANSMIT_LENGTH>3</TRANSMIT_LENGTH>"
                       "\n    <!-- power and output -->\n    <POWER_LEVEL>1</POWER_LEVEL>"
                       "<COORDINATE_SYSTEM>1</COORDINATE_SYSTEM><SYNC_MASTER>0</SYNC_MASTER>"
                       "<START_ON_SYNC>1</START_ON_SYNC><SAMPLE_ON_SYNC>0</SAMPLE_ON_SYNC>\n"
                       "  </PROBE>\n";
        }
        return strText + "</MIRAVELO>\n";
    }();
    return strXml;
}

void ParseDocument(benchmark::State& state) {
    for (auto _ : state) {
        std::istringstream input(Configuration());
        benchmark::DoNotOptimize(MyXML::ParseDocument(input));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Configuration().size()));
}

void ReadMiraveloConfig(benchmark::State& state) {
    for (auto _ : state) {
        std::istringstream input(Configuration());
        sulvan::MiraveloConfig config;
        sulvan::ReadMiraveloConfig(input, config);
        benchmark::DoNotOptimize(config);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Configuration().size()));
}

BENCHMARK(ParseDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadMiraveloConfig)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
