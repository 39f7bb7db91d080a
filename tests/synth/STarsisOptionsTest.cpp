#include "STarsisOptions.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace sulvan::synth {
namespace {

TEST(STarsisOptions, DefaultsAndLimitsAreUsable) {
    EXPECT_EQ(DescribeProblem({}), "");
    STarsisOptions options;
    options.bBurst = true;
    options.nBurstSamples = kMaxBurstSamples;
    options.nBeams = 1;
    options.nRateDivisor = 65535;
    options.strFirmware = "1.07";
    options.nSizeLimit = kMinSizeLimit;
    options.nGarbageEvery = 1;
    options.nGarbageBytes = kMaxGarbageBytes;
    options.nTruncateBytes = kMaxTruncateBytes;
    EXPECT_EQ(DescribeProblem(options), "");
    options.nSizeLimit = 0;  // a sample count replaces the size
    options.nSamples = 1;
    EXPECT_EQ(DescribeProblem(options), "");
}

TEST(STarsisOptions, NamesWhatMakesOptionsUnusable) {
    const std::function<void(STarsisOptions&)> changes[] = {
        [](STarsisOptions& o) { o.nBeams = 0; },
        [](STarsisOptions& o) { o.nBeams = 4; },
        [](STarsisOptions& o) { o.nRateDivisor = 0; },
        [](STarsisOptions& o) { o.bBurst = true, o.nBurstSamples = 0; },
        [](STarsisOptions& o) { o.bBurst = true, o.nBurstSamples = kMaxBurstSamples + 1; },
        [](STarsisOptions& o) { o.strFirmware = "1.080"; },
        [](STarsisOptions& o) { o.nSizeLimit = kMinSizeLimit - 1; },
        [](STarsisOptions& o) { o.nGarbageEvery = 3, o.nGarbageBytes = 0; },
        [](STarsisOptions& o) { o.nGarbageEvery = 3, o.nGarbageBytes = kMaxGarbageBytes + 1; },
        [](STarsisOptions& o) { o.nTruncateBytes = kMaxTruncateBytes + 1; },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        STarsisOptions options;
        changes[i](options);
        EXPECT_NE(DescribeProblem(options), "") << "change " << i;
    }
}

TEST(STarsisOptions, BurstHeadersFromFirmware108OnAsTheReaderReadsTheVersion) {
    struct SCase {
        const char* pFirmware;
        bool bBurst;
        bool bHeaders;
    };
    const SCase cases[] = {
        {"1.08", true, true},   {"1.07", true, false}, {"1.10", true, true},
        {"2.0", true, true},    {"1,08", true, true},  // the second character is the point
        {"0.99", true, false},  {"", true, false},     {"abc", true, false},
        {"1.08", false, false},  // continuous recordings have none
    };
    for (const SCase& c : cases) {
        STarsisOptions options;
        options.strFirmware = c.pFirmware;
        options.bBurst = c.bBurst;
        EXPECT_EQ(WritesBurstHeaders(options), c.bHeaders)
            << '"' << c.pFirmware << "\" burst " << c.bBurst;
    }
}

}  // namespace
}  // namespace sulvan::synth
