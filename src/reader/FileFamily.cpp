#include "reader/FileFamily.hpp"

#include <string>

#include "config/CInsConf.hpp"
#include "platform/Path.hpp"
#include "platform/Text.hpp"

namespace sulvan {
namespace {

struct SExtensionFamily {
    std::string_view strExtension;
    int nFamily;
};

constexpr SExtensionFamily kExtensionFamilies[] = {
    {".pld", Family::Pelora},    {".prf", Family::Profiler2},   {".trs", Family::Tarsis},
    {".mrv", Family::Corvane},   {".jxm", Family::Instrument4}, {".sld", Family::Instrument4},
    {".kpm", Family::Profiler5}, {".wpr", Family::Kestra},      {".wpb", Family::Kestra},
};

}  // namespace

std::optional<int> FamilyFromFileName(std::string_view strPath) {
    const std::string strName = LowerCased(FileNameOf(strPath));
    for (const SExtensionFamily& entry : kExtensionFamilies) {
        if (strName.find(entry.strExtension) != std::string::npos) {
            return entry.nFamily;
        }
    }
    return std::nullopt;
}

const char* FamilyName(int nFamily) {
    static constexpr const char* kNames[] = {"Pelora",     "Tarsis",   "profiler", "Kestra",
                                             "instrument", "profiler", "Corvane"};
    return nFamily >= 0 && nFamily < 7 ? kNames[nFamily] : "unknown";
}

}  // namespace sulvan
