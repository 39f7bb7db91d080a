#include "app/ProgramInfo.hpp"

#include <gtest/gtest.h>

namespace sulvan {
namespace {

TEST(ProgramInfo, TitleShowsTheVersionWithTwoDecimals) {
    EXPECT_EQ(ProgramTitle(), "Sulvan File Converter v1.03");
}

}  // namespace
}  // namespace sulvan
