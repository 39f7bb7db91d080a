#include "convert/AdvLayout.hpp"

#include "ConvertTestSupport.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

TEST(AdvLayout, AStartThatCannotBeSplitReadsAllOnes) {
    SAdvFileHeader header;
    const auto bytes = EncodeAdvFileHeader(header);
    EXPECT_EQ(ReadU16Le(bytes.data() + 8), 0xFFFF);
    for (std::size_t nOffset : {10u, 11u, 12u, 13u, 15u}) {
        EXPECT_EQ(bytes[nOffset], 0xFF) << nOffset;
    }
    EXPECT_EQ(bytes[14], 0);
    EXPECT_EQ(bytes[16], 0);
    EXPECT_EQ(bytes[17], 3);
}

}  // namespace
}  // namespace sulvan
