#include "ByteCount.hpp"

#include <gtest/gtest.h>

namespace sulvan::synth {
namespace {

TEST(ByteCount, ReadsDigitsWithBinarySuffixes) {
    struct SCase {
        const char* pText;
        std::uint64_t nBytes;
    };
    const SCase cases[] = {
        {"0", 0},
        {"784", 784},
        {"1K", 1024},
        {"64k", 65536},
        {"3M", 3145728},
        {"1G", 1073741824},
        {"4g", 4294967296},
        {"17179869183G", 18446744072635809792ull},  // the largest count of G in 64 bits
        {"18446744073709551615", 18446744073709551615ull},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(ParseByteCount(c.pText), c.nBytes) << c.pText;
    }
}

TEST(ByteCount, RefusesAnythingElse) {
    for (const char* pText : {"", "K", "1T", "1KB", "1 K", " 1", "-1", "+1", "1.5G", "0x10",
                              "17179869184G", "18446744073709551616", "1K1"}) {
        EXPECT_FALSE(ParseByteCount(pText).has_value()) << '"' << pText << '"';
    }
}

}  // namespace
}  // namespace sulvan::synth
