#include "format/RecordCatalogue.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace sulvan {
namespace {

struct SSizeCase {
    std::uint8_t nId;
    int nBeams;
    int nCells;
    std::size_t nExpected;
};

class ExpectedSize : public ::testing::TestWithParam<SSizeCase> {};

TEST_P(ExpectedSize, FollowsTheCatalogueFormula) {
    const SSizeCase& c = GetParam();
    EXPECT_EQ(ExpectedRecordSize(c.nId, c.nBeams, c.nCells), c.nExpected)
        << "id 0x" << std::hex << int{c.nId};
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpectedSize,
    ::testing::Values(
        SSizeCase{0x00, 3, 1, 512}, SSizeCase{0x01, 3, 1, 42},  // 41 raised
        SSizeCase{0x01, 4, 1, 44}, SSizeCase{0x02, 3, 1, 32}, SSizeCase{0x03, 3, 1, 6148},
        SSizeCase{0x04, 3, 1, 224}, SSizeCase{0x05, 3, 1, 48}, SSizeCase{0x06, 3, 1, 36},
        SSizeCase{0x07, 3, 5, 26}, SSizeCase{0x07, 3, 3, 20},  // 19 raised
        SSizeCase{0x08, 3, 1, 16}, SSizeCase{0x09, 3, 1, 20}, SSizeCase{0x0F, 3, 1, 0},
        SSizeCase{0x10, 3, 1, 24}, SSizeCase{0x10, 2, 1, 20}, SSizeCase{0x11, 3, 1, 28},
        SSizeCase{0x12, 3, 1, 42}, SSizeCase{0x20, 3, 1, 130}, SSizeCase{0x20, 3, 20, 300},
        SSizeCase{0x21, 3, 20, 212}, SSizeCase{0x22, 2, 7, 74},
        SSizeCase{0x23, 1, 7, 54},  // 53 raised
        SSizeCase{0x24, 3, 2, 138}, SSizeCase{0x25, 2, 2, 132}, SSizeCase{0x26, 1, 3, 130},
        SSizeCase{0x28, 3, 4, 68}, SSizeCase{0x2A, 3, 4, 104}, SSizeCase{0x30, 3, 1, 24},
        SSizeCase{0x31, 3, 1, 60}, SSizeCase{0x35, 3, 1, 206}, SSizeCase{0x36, 3, 1, 24},
        SSizeCase{0x40, 2, 5, 60}, SSizeCase{0x41, 3, 128, 418}, SSizeCase{0x42, 3, 2048, 2082},
        SSizeCase{0x50, 3, 1, 42}, SSizeCase{0x51, 2, 1, 14}, SSizeCase{0x60, 3, 1, 80},
        SSizeCase{0x61, 3, 1, 48}, SSizeCase{0x62, 0, 99, 242}, SSizeCase{0x63, 0, 99, 824},
        SSizeCase{0x6A, 3, 2, 74}, SSizeCase{0x70, 3, 1, 78},  // 77 raised
        SSizeCase{0x80, 3, 1, 42},
        // Not in the catalogue.
        SSizeCase{0x13, 3, 1, 0}, SSizeCase{0x81, 3, 1, 0}, SSizeCase{0xFD, 3, 1, 0},
        SSizeCase{0xFF, 3, 1, 0},
        // Counts that form no record.
        SSizeCase{0x10, -3, 1, 0}));

struct SCountCase {
    std::uint8_t nId;
    std::size_t nSize;
    int nBeamsIn;
    int nBeams;
    int nCells;
};

class CountsFromSize : public ::testing::TestWithParam<SCountCase> {};

TEST_P(CountsFromSize, InvertTheFormula) {
    const SCountCase& c = GetParam();
    EXPECT_EQ(BeamsFromRecordSize(c.nId, c.nSize), c.nBeams) << "id 0x" << std::hex << int{c.nId};
    EXPECT_EQ(CellsFromRecordSize(c.nId, c.nSize, c.nBeamsIn), c.nCells)
        << "id 0x" << std::hex << int{c.nId};
}

INSTANTIATE_TEST_SUITE_P(
    Table, CountsFromSize,
    ::testing::Values(SCountCase{0x01, 42, 3, 3, 1}, SCountCase{0x80, 44, 4, 4, 1},
                      SCountCase{0x08, 16, 3, 1, 1}, SCountCase{0x09, 20, 3, 2, 1},
                      SCountCase{0x10, 28, 3, 4, 1}, SCountCase{0x70, 80, 3, 4, 1},
                      SCountCase{0x20, 300, 3, 0, 20}, SCountCase{0x21, 212, 3, 3, 20},
                      SCountCase{0x22, 74, 2, 2, 7}, SCountCase{0x23, 54, 1, 1, 7},
                      SCountCase{0x24, 138, 3, 3, 2}, SCountCase{0x25, 132, 2, 2, 2},
                      SCountCase{0x26, 130, 1, 1, 3}, SCountCase{0x28, 68, 3, 3, 4},
                      SCountCase{0x2A, 104, 3, 3, 4}, SCountCase{0x40, 60, 2, 2, 5},
                      SCountCase{0x41, 418, 3, 0, 128}, SCountCase{0x42, 100, 3, 0, 66},
                      SCountCase{0x11, 28, 3, 0, 1}, SCountCase{0x51, 18, 3, 0, 1},
                      // Divisions truncate toward zero, also below the fixed part.
                      SCountCase{0x21, 20, 3, 3, -1}, SCountCase{0x01, 20, 3, -4, 1},
                      // No divisor: no count can be formed.
                      SCountCase{0x21, 212, 0, 3, 0}, SCountCase{0x41, 418, 0, 0, 0}));

}  // namespace
}  // namespace sulvan
