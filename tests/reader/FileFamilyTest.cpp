#include "reader/FileFamily.hpp"

#include <gtest/gtest.h>

namespace sulvan {
namespace {

struct SFamilyCase {
    const char* pPath;
    int nFamily;  // -1: no family
};

class FileFamily : public ::testing::TestWithParam<SFamilyCase> {};

TEST_P(FileFamily, ComesFromTheFirstKnownExtensionInTheName) {
    const std::optional<int> family = FamilyFromFileName(GetParam().pPath);
    EXPECT_EQ(family.value_or(-1), GetParam().nFamily) << GetParam().pPath;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileFamily,
    ::testing::Values(SFamilyCase{"/data/run1.pld", 0}, SFamilyCase{"/data/RUN1.PLD", 0},
                      SFamilyCase{"/data/x.trs/run1.pld", 0}, SFamilyCase{"/data/run1.prf", 2},
                      SFamilyCase{"/data/run1.trs", 1}, SFamilyCase{"/data/run1.Trs", 1},
                      SFamilyCase{"/data/run1.mrv", 6}, SFamilyCase{"/data/run1.jxm", 4},
                      SFamilyCase{"/data/run1.sld", 4}, SFamilyCase{"/data/run1.kpm", 5},
                      SFamilyCase{"/data/run1.wpr", 3}, SFamilyCase{"/data/run1.wpb", 3},
                      // The table order decides between two extensions in one name.
                      SFamilyCase{"/data/run1.trs.pld", 0}, SFamilyCase{"/data/run1.wpr.trs", 1},
                      SFamilyCase{"/data/run1.trs.bak", 1},
                      // A folder's name does not make the family.
                      SFamilyCase{"/data/x.pld/run1.trs", 1}, SFamilyCase{"/data/x.trs/README", -1},
                      SFamilyCase{"README", -1}, SFamilyCase{"/data/run1.adv", -1}));

}  // namespace
}  // namespace sulvan
