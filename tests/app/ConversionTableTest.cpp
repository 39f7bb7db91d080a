#include "app/ConversionTable.hpp"

#include <gtest/gtest.h>

namespace sulvan {
namespace {

// The command line takes a conversion from the files' extension: the first row made for it,
// though the netCDF export is made for every kind of recording.
TEST(ConversionTable, AnExtensionTakesTheFirstConversionMadeForIt) {
    const std::pair<const char*, const char*> cases[] = {
        {".trs", "trs-adv"}, {".PLD", "wpr"}, {".mrv", "mrv-adv"}, {".wpr", ""}};
    for (const auto& [pExtension, pName] : cases) {
        const SConversion* pConversion = ConversionAt(ConversionForExtension(pExtension));
        EXPECT_EQ(pConversion == nullptr ? "" : std::string(pConversion->pName), pName)
            << pExtension;
    }
}

}  // namespace
}  // namespace sulvan
