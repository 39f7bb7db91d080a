#include "FuzzTargets.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "CTempDir.hpp"

namespace sulvan::fuzz {
namespace {

constexpr SFuzzTarget kTargets[] = {
    {"record_walk", FuzzRecordWalk},
    {"open", FuzzOpen},
    {"trs_adv",
     [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("trs_adv", p, n); }},
    {"trs_adv_burst_files",
     [](const std::uint8_t* p, std::size_t n) {
         return FuzzConversion("trs_adv_burst_files", p, n);
     }},
    {"pld_wpr",
     [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("pld_wpr", p, n); }},
    {"trs_wpr",
     [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("trs_wpr", p, n); }},
    {"burst_header_repair",
     [](const std::uint8_t* p, std::size_t n) {
         return FuzzConversion("burst_header_repair", p, n);
     }},
    {"dump_repair",
     [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("dump_repair", p, n); }},
    {"mrv_adv",
     [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("mrv_adv", p, n); }},
#ifdef SULVAN_WITH_NETCDF
    {"trs_nc", [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("trs_nc", p, n); }},
    {"pld_nc", [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("pld_nc", p, n); }},
    {"mrv_nc", [](const std::uint8_t* p, std::size_t n) { return FuzzConversion("mrv_nc", p, n); }},
#endif
    {"corvane_file", FuzzCorvaneFile},
    {"configuration", FuzzConfiguration},
    {"xml_parse", FuzzXmlParse},
    {"miravelo_config", FuzzMiraveloConfig},
};

}  // namespace

std::span<const SFuzzTarget> FuzzTargets() {
    return kTargets;
}

const SFuzzTarget* FuzzTargetNamed(std::string_view strName) {
    const auto* pTarget = std::find_if(std::begin(kTargets), std::end(kTargets),
                                       [&](const SFuzzTarget& t) { return strName == t.pName; });
    return pTarget == std::end(kTargets) ? nullptr : pTarget;
}

void Require(bool bHolds, const char* pExpectation) {
    if (!bHolds) {
        std::fprintf(stderr, "broken expectation: %s\n", pExpectation);
        std::abort();
    }
}

const std::string& ScratchFolder() {
    static const test::CTempDir folder;
    return folder.Path();
}

std::string WriteScratchFile(const std::string& strName, std::span<const std::uint8_t> bytes) {
    const std::string strPath = ScratchFolder() + "/" + strName;
    test::WriteFileBytes(strPath, bytes);
    return strPath;
}

void ClearScratchFolder() {
    for (const auto& entry : std::filesystem::directory_iterator(ScratchFolder())) {
        std::filesystem::remove_all(entry.path());
    }
}

}  // namespace sulvan::fuzz
