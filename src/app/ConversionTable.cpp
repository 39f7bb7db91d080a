#include "app/ConversionTable.hpp"

#include <algorithm>
#include <array>

#include "app/FileDrivers.hpp"
#include "platform/Text.hpp"

namespace sulvan {
namespace {

constexpr std::string_view kCorvane[] = {".mrv"};
constexpr std::string_view kTarsis[] = {".trs"};
constexpr std::string_view kPeloraOrTarsis[] = {".pld", ".trs"};
constexpr std::string_view kRecordings[] = {".trs", ".pld", ".mrv"};

constexpr SConversion kConversions[] = {
    {EConversion::MrvToAdv, "mrv-adv", "Corvane (.mrv) to KVT (.adv)", kCorvane, ".adv",
     ConvertMrvToAdv},
    {EConversion::TrsToAdv, "trs-adv", "Tarsis (.trs) to KVT (.adv)", kTarsis, ".adv",
     ConvertFileToAdv},
    {EConversion::ToWpr, "wpr", "Pelora/Tarsis (.pld/.trs) to Kestra (.wpr)", kPeloraOrTarsis,
     ".wpr", ConvertFileToWpr},
#ifdef SULVAN_WITH_NETCDF
    {EConversion::ToNc, "nc", "Recordings (.trs/.pld/.mrv) to netCDF (.nc)", kRecordings, ".nc",
     ConvertFileToNc},
#endif
};

constexpr bool RowsStandAtTheirPositions() {
    for (std::size_t i = 0; i < std::size(kConversions); ++i) {
        if (PositionOf(kConversions[i].id) != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(RowsStandAtTheirPositions(), "the identifier of a row is its position");

}  // namespace

std::span<const SConversion> Conversions() {
    return kConversions;
}

const SConversion* ConversionAt(int nPosition) {
    if (nPosition < 0 || static_cast<std::size_t>(nPosition) >= std::size(kConversions)) {
        return nullptr;
    }
    return &kConversions[static_cast<std::size_t>(nPosition)];
}

int ConversionNamed(std::string_view strName) {
    for (const SConversion& conversion : kConversions) {
        if (strName == conversion.pName) {
            return PositionOf(conversion.id);
        }
    }
    return -1;
}

int ConversionForExtension(std::string_view strExtension) {
    const std::string strLower = LowerCased(strExtension);
    for (const SConversion& conversion : kConversions) {
        const auto& extensions = conversion.inputExtensions;
        if (std::find(extensions.begin(), extensions.end(), strLower) != extensions.end()) {
            return PositionOf(conversion.id);
        }
    }
    return -1;
}

}  // namespace sulvan
