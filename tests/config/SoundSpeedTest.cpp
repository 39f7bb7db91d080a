#include "config/SoundSpeed.hpp"

#include <gtest/gtest.h>

namespace sulvan {
namespace {

struct SSpeedCase {
    double dSalinity;
    double dTemperature;
    double dPressureBar;
    double dSpeed;
    double dTolerance;
};

class SoundSpeedUnescoCheck : public ::testing::TestWithParam<SSpeedCase> {};

TEST_P(SoundSpeedUnescoCheck, MatchesPublishedValues) {
    const SSpeedCase& c = GetParam();
    EXPECT_NEAR(SoundSpeedUnesco(c.dSalinity, c.dTemperature, c.dPressureBar), c.dSpeed,
                c.dTolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SoundSpeedUnescoCheck,
    ::testing::Values(
        // The check value of the UNESCO algorithms: S = 40, T = 40 degC, 10000 dbar.
        SSpeedCase{40.0, 40.0, 1000.0, 1731.995, 0.0005},
        // Pure water at 0 degC and the surface is the leading coefficient.
        SSpeedCase{0.0, 0.0, 0.0, 1402.388, 1e-9},
        // Sea water of 35 ppt at 10 degC: about 1490 m/s.
        SSpeedCase{35.0, 10.0, 0.0, 1489.8, 0.05},
        // The ends of the sound speed table of a fresh-water configuration.
        SSpeedCase{0.0, -4.0, 0.0, 15087.0 * 1500.0 / 16384.0, 0.05},
        SSpeedCase{0.0, 40.5, 0.0, 16708.0 * 1500.0 / 16384.0, 0.05}));

}  // namespace
}  // namespace sulvan
