#include "config/ConfigValidation.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "CScriptedUserInterface.hpp"
#include "ConfigRecords.hpp"
#include "config/CConfig.hpp"
#include "config/ConfigFields.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using namespace UserField;
using Texts = std::vector<std::string>;

const std::string k86A = "The measurement interval was raised to fit the averaging interval.";
const std::string k90A =
    "The averaging or measurement interval was raised to its minimum allowed value.";
const std::string kWaveInterval =
    "Please note that the measurement interval will be\rchanged to its minimum allowed value.";

// ---- Type 0 --------------------------------------------------------------------------

struct SPeloraCase {
    const char* pName;
    bool bFeatureCheck;
    std::uint16_t nModeWord;        // bit 1 extra time option, bit 9 second rule
    std::uint16_t nSecondModeWord;  // bit 9 first rule, bit 12 third rule
    std::uint16_t nExtraTime;
    std::uint16_t nAverage, nInterval, nInterval2;
    std::uint16_t nAverageAfter, nIntervalAfter, nInterval2After;
    Texts messages;
    int nError;
};

class ConfigValidationPelora : public ::testing::TestWithParam<SPeloraCase> {};

TEST_P(ConfigValidationPelora, AppliesTheIntervalRulesAndTellsTheUser) {
    const SPeloraCase& c = GetParam();
    const SRecords records{"PLD 1001",
                           "PLD 2001",
                           {{ModeWord, c.nModeWord},
                            {SecondModeWord, c.nSecondModeWord},
                            {ExtraTime, c.nExtraTime},
                            {RateDivisor, c.nAverage},
                            {Interval, c.nInterval},
                            {Interval2, c.nInterval2}},
                           {},
                           {{HardwareField::ConfigWord, 0x0008}},
                           c.bFeatureCheck ? "3.40" : "3.30"};
    for (bool bWithUi : {true, false}) {
        CInsConf conf = LoadConfiguration(records);
        CScriptedUserInterface ui;
        CConfig config;
        g_nConfigError = -1;
        config.Decode(conf, 1, bWithUi ? &ui : nullptr);
        EXPECT_EQ(config.m_nRateDivisor, c.nAverageAfter);
        EXPECT_EQ(config.m_nInterval, c.nIntervalAfter);
        EXPECT_EQ(config.m_nInterval2, c.nInterval2After);
        EXPECT_EQ(ui.Messages(), bWithUi ? c.messages : Texts{});
        EXPECT_EQ(g_nConfigError, c.nError);
        if (!c.messages.empty()) {
            EXPECT_EQ(g_strConfigError, c.messages.back());
        }
        EXPECT_EQ(config.Validate(nullptr), 0);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, ConfigValidationPelora, ::testing::Values(
    // feature check, mode words, extra time; average, interval, interval 2 before and after
    SPeloraCase{"AllRulesOff", true, 0, 0, 0, 10, 12, 5, 10, 12, 5, {}, 0},
    SPeloraCase{"AverageAboveInterval", true, 0, 0, 0, 700, 600, 900, 600, 600, 600, {}, 0},
    SPeloraCase{"Rule1RaisesInterval", true, 0, 0x0200, 0, 60, 100, 1, 60, 120, 1,
                {k86A}, 0x86A},
    SPeloraCase{"Rule1AddsExtraTime", true, 0x0002, 0x0200, 30, 60, 130, 1, 60, 150, 1,
                {k86A}, 0x86A},
    SPeloraCase{"Rule1AtItsLimit", true, 0, 0x0200, 0, 60, 120, 1, 60, 120, 1, {}, 0},
    SPeloraCase{"Rule1NeedsTheFeatureCheck", false, 0, 0x0200, 0, 60, 100, 1, 60, 100, 1, {}, 0},
    SPeloraCase{"Rule2RaisesBoth", true, 0x0200, 0, 0, 10, 12, 1, 15, 17, 1,
                {k90A, k90A}, 0x90A},
    SPeloraCase{"Rule2RaisesInterval", true, 0x0200, 0, 0, 20, 21, 1, 20, 22, 1,
                {k90A}, 0x90A},
    SPeloraCase{"Rule2Satisfied", true, 0x0200, 0, 0, 20, 600, 1, 20, 600, 1, {}, 0},
    SPeloraCase{"Rule1ThenRule2", true, 0x0200, 0x0200, 0, 10, 12, 1, 15, 70, 1,
                {k86A, k90A}, 0x90A},
    SPeloraCase{"Rule3", true, 0, 0x1000, 0, 10, 30, 20, 58, 60, 1, {}, 0},
    SPeloraCase{"Rule1StaysWithin16Bits", true, 0, 0x0200, 0, 65535, 65535, 1,
                65535, 65535, 1, {k86A}, 0x86A}),
    [](const auto& info) { return std::string(info.param.pName); });
// clang-format on

// ---- Types 2 and 3 -------------------------------------------------------------------

struct SWaveCase {
    const char* pName;
    const char* pSerial;
    std::uint16_t nFrequencyKhz;
    std::uint16_t nModeWord;        // bit 1 waves
    std::uint16_t nSecondModeWord;  // bit 14 longer margin (type 3)
    std::uint16_t nWaveMode;        // bit 0 rate flag
    std::uint16_t nWaveSamples, nAverage, nInterval;
    std::uint32_t nWaveInterval;
    std::uint16_t nAverageAfter, nIntervalAfter;
    std::int32_t nWaveIntervalAfter;
    int bMarginAfter;
    bool bMessage;
};

class ConfigValidationWaves : public ::testing::TestWithParam<SWaveCase> {};

TEST_P(ConfigValidationWaves, FitsTheIntervalsToTheWaveBurst) {
    const SWaveCase& c = GetParam();
    CRecordBuilder user = UserConfig();
    SetFields(user, {{ModeWord, c.nModeWord},
                     {SecondModeWord, c.nSecondModeWord},
                     {WaveMode, c.nWaveMode},
                     {WaveSamples, c.nWaveSamples},
                     {RateDivisor, c.nAverage},
                     {Interval, c.nInterval}});
    user.U32(WaveInterval, c.nWaveInterval);
    CInsConf conf = LoadConfiguration(
        SRecords(c.pSerial, "TRS 2001", {}, {{HeadField::Frequency, c.nFrequencyKhz}}), user);
    CScriptedUserInterface ui;
    CConfig config;
    g_strConfigError = "earlier";
    config.Decode(conf, 1, &ui);
    EXPECT_EQ(config.m_nRateDivisor, c.nAverageAfter);
    EXPECT_EQ(config.m_nInterval, c.nIntervalAfter);
    EXPECT_EQ(config.m_nWaveInterval, c.nWaveIntervalAfter);
    EXPECT_EQ(config.m_bWaveMargin, c.bMarginAfter);
    EXPECT_EQ(ui.Messages(), c.bMessage ? Texts{kWaveInterval} : Texts{});
    EXPECT_EQ(g_strConfigError, c.bMessage ? kWaveInterval : "earlier");
    EXPECT_EQ(g_nConfigError, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, ConfigValidationWaves, ::testing::Values(
    // serial, kHz, mode words, wave mode, samples, average, interval, wave interval;
    // average, interval, wave interval, margin after; message
    SWaveCase{"KestraWithoutSamples", "WPR 1001", 6000, 2, 0, 0, 0, 120, 600, 0,
              120, 125, 125, 0, true},
    SWaveCase{"KestraAlreadyMinimal", "WPR 1001", 6000, 2, 0, 0, 0, 120, 125, 0,
              120, 125, 125, 0, false},
    SWaveCase{"Profiler2FastRate", "RSN 1001", 6000, 2, 0, 1, 2048, 20, 30, 0,
              20, 60, 1080, 0, true},
    SWaveCase{"KestraLowFrequencyLongMargin", "WPR 1001", 400, 2, 0x4000, 0, 1024, 20, 60, 0,
              20, 60, 1500, 1, false},
    SWaveCase{"KestraWavesOff", "WPR 1001", 6000, 0, 0x4000, 0, 0, 700, 600, 3600,
              600, 600, 3600, 0, false},
    SWaveCase{"WaveIntervalStaysWithin32Bits", "WPR 1001", 6000, 2, 0, 0, 1, 20, 600, 0x7FFFFFF0,
              20, 600, std::numeric_limits<std::int32_t>::max(), 0, false}),
    [](const auto& info) { return std::string(info.param.pName); });
// clang-format on

// ---- Types 1 and 6 -------------------------------------------------------------------

TEST(ConfigValidation, TarsisBurstMustFitTheInterval) {
    struct SCase {
        std::uint16_t nInterval, nIntervalAfter;
        int nResult, nError;
    };
    // 2048 samples at 16 Hz take 128 s, and 5 s more are needed.
    for (const SCase& c :
         {SCase{130, 130, -1, 0x83B}, SCase{133, 133, 0, 0}, SCase{40000, 32400, 0, 0}}) {
        CInsConf conf = LoadConfiguration(
            SRecords("TRS 1001", "TRS 2001",
                     {{RateDivisor, 32}, {BurstSamples, 2048}, {Interval, c.nInterval}}));
        CScriptedUserInterface ui;
        CConfig config;
        config.Decode(conf, 1, &ui);
        EXPECT_EQ(g_nConfigError, c.nError) << c.nInterval;
        EXPECT_EQ(config.m_nInterval, c.nIntervalAfter);
        if (c.nError != 0) {
            EXPECT_EQ(g_strConfigError, "The burst does not fit into the measurement interval.");
        }
        EXPECT_EQ(config.Update(&ui), c.nResult);
        EXPECT_TRUE(ui.Messages().empty());
    }
}

// ---- Common --------------------------------------------------------------------------

}  // namespace
}  // namespace sulvan
