#include "ByteCount.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace sulvan::synth {
namespace {

TEST(ByteCount, ReadsDigitsWithABinarySuffixWithin64Bits) {
    const std::pair<const char*, std::uint64_t> accepted[] = {
        {"0", 0},        {"784", 784},    {"1K", 1024},       {"64k", 65536},
        {"3M", 3145728}, {"2m", 2097152}, {"1G", 1073741824}, {"4g", 4294967296}};
    for (const auto& [pText, nBytes] : accepted) {
        EXPECT_EQ(ParseByteCount(pText), nBytes) << pText;
    }
    // The largest counts in 64 bits; one more is refused.
    EXPECT_EQ(ParseByteCount("17179869183G"), 18446744072635809792ull);
    EXPECT_EQ(ParseByteCount("18446744073709551615"), 18446744073709551615ull);
    for (const char* pText : {"17179869184G", "18446744073709551616", "", "K", "1T", "1KB", "1K1",
                              " 1", "-1", "1.5G"}) {
        EXPECT_EQ(ParseByteCount(pText), std::nullopt) << '"' << pText << '"';
    }
}

}  // namespace
}  // namespace sulvan::synth
