#include "netcdf/CSampleClock.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace sulvan {
namespace {

// One event of a clock: an anchor (with its seconds, or none for an unreadable clock) or a
// sample (with damage before it or not).
struct SEvent {
    bool bAnchor;
    std::optional<double> dSeconds;
    bool bDamaged = false;
};

SEvent At(std::optional<double> dSeconds) {
    return {true, dSeconds};
}
SEvent Sample(bool bDamaged = false) {
    return {false, std::nullopt, bDamaged};
}

struct SClockCase {
    const char* pName;
    std::vector<SEvent> events;
    // Per sample: seconds, flags and the count since the anchor.
    std::vector<SSampleTime> expected;
};

class CSampleClockTest : public ::testing::TestWithParam<SClockCase> {};

TEST_P(CSampleClockTest, GivesIncreasingTimesWithTheirFlags) {
    CSampleClock clock(0.25);
    std::vector<SSampleTime> times;
    for (const SEvent& event : GetParam().events) {
        if (event.bAnchor) {
            clock.Anchor(event.dSeconds);
        } else if (clock.HasTime()) {
            times.push_back(clock.Next(event.bDamaged));
        }
    }
    ASSERT_EQ(times.size(), GetParam().expected.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        EXPECT_DOUBLE_EQ(times[i].dSeconds, GetParam().expected[i].dSeconds) << "sample " << i;
        EXPECT_EQ(times[i].nFlags, GetParam().expected[i].nFlags) << "sample " << i;
        EXPECT_EQ(times[i].nSinceAnchor, GetParam().expected[i].nSinceAnchor) << "sample " << i;
    }
}

constexpr std::int8_t kAdjusted = SSampleTime::kAdjusted;
constexpr std::int8_t kDamage = SSampleTime::kAfterDamage;

INSTANTIATE_TEST_SUITE_P(
    Cases, CSampleClockTest,
    ::testing::Values(
        SClockCase{"SamplesBeforeTheFirstAnchorHaveNoTime",
                   {Sample(), At(std::nullopt), Sample(), At(10.0), Sample(), Sample()},
                   {{10.0, 0, 0}, {10.25, 0, 1}}},
        SClockCase{"EachAnchorRestartsTheCount",
                   {At(0.0), Sample(), Sample(), At(5.0), Sample()},
                   {{0.0, 0, 0}, {0.25, 0, 1}, {5.0, 0, 0}}},
        SClockCase{"AClockSteppingBackIsMovedOnAndFlagged",
                   {At(10.0), Sample(), Sample(), At(9.0), Sample(), Sample(), At(12.0), Sample()},
                   {{10.0, 0, 0},
                    {10.25, 0, 1},
                    {10.5, kAdjusted, 0},
                    {10.75, kAdjusted, 1},
                    {12.0, 0, 0}}},
        SClockCase{"DamageIsFlaggedOnTheSampleAfterIt",
                   {At(0.0), Sample(), Sample(true), Sample()},
                   {{0.0, 0, 0}, {0.25, kDamage, 1}, {0.5, 0, 2}}},
        SClockCase{
            "AnUnreadableAnchorGoesOnFromTheSampleBefore",
            {At(0.0), Sample(), At(std::nullopt), Sample(true), Sample(), At(1.0), Sample()},
            {{0.0, 0, 0}, {0.25, kAdjusted | kDamage, 0}, {0.5, kAdjusted, 1}, {1.0, 0, 0}}}),
    [](const auto& info) { return std::string(info.param.pName); });

}  // namespace
}  // namespace sulvan
