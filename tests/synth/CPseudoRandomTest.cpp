#include "CPseudoRandom.hpp"

#include <gtest/gtest.h>

#include <set>

namespace sulvan::synth {
namespace {

TEST(CPseudoRandom, FollowsThePublishedSplitMix64Sequence) {
    CPseudoRandom random(0);
    EXPECT_EQ(random.Next(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(random.Next(), 0x6E789E6AA1B965F4ull);
    EXPECT_EQ(random.Next(), 0x06C45D188009454Full);
}

TEST(CPseudoRandom, BetweenStaysWithinItsBoundsAndReachesBoth) {
    struct SRange {
        int nLow;
        int nHigh;
    };
    for (const SRange range : {SRange{-3, 3}, SRange{0, 0}, SRange{55, 99}, SRange{-1, 1}}) {
        CPseudoRandom random(7);
        std::set<int> seen;
        for (int i = 0; i < 5000; ++i) {
            const int nValue = random.Between(range.nLow, range.nHigh);
            ASSERT_GE(nValue, range.nLow);
            ASSERT_LE(nValue, range.nHigh);
            seen.insert(nValue);
        }
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(range.nHigh - range.nLow + 1))
            << range.nLow << " to " << range.nHigh;
    }
}

}  // namespace
}  // namespace sulvan::synth
