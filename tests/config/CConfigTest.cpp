#include "config/CConfig.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "ConfigRecords.hpp"
#include "config/ConfigFields.hpp"
#include "platform/DateTime.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using namespace UserField;

constexpr double kInf = std::numeric_limits<double>::infinity();

struct SDecoded {
    int nType;
    double dFrequency;
    int nOptions;  // bit 0, 1, 2: options 1, 2, 3
    std::uint16_t nRateDivisor;
    double dSampleRate;
    int nRateIndex;
    std::uint16_t nRangeSetting;
    int nRangeIndex;
    int bBurst;
    std::uint16_t nBurstSamples;
    double dSoundSpeed;
    double dSalinity;
    int bStartOnSync;
    int bSampleOnSync;
    int nBeams;
    int nCells;
    int bWave;
};

struct SDecodeCase {
    const char* pName;
    SRecords records;
    SDecoded expected;
};

class CConfigDecode : public ::testing::TestWithParam<SDecodeCase> {};

TEST_P(CConfigDecode, RestatesTheRecordsAsADeployment) {
    const SDecodeCase& c = GetParam();
    CInsConf conf = LoadConfiguration(c.records);
    CConfig config;
    config.Decode(conf, 1, nullptr);
    const SDecoded& e = c.expected;
    EXPECT_EQ(config.m_nType, e.nType);
    EXPECT_DOUBLE_EQ(config.m_dFrequency, e.dFrequency);
    EXPECT_EQ(config.m_bOption1, e.nOptions & 1);
    EXPECT_EQ(config.m_bOption2, (e.nOptions >> 1) & 1);
    EXPECT_EQ(config.m_bOption3, (e.nOptions >> 2) & 1);
    EXPECT_EQ(config.m_nRateDivisor, e.nRateDivisor);
    EXPECT_DOUBLE_EQ(config.m_dSampleRate, e.dSampleRate);
    EXPECT_EQ(config.m_nRateIndex, e.nRateIndex);
    EXPECT_EQ(config.m_nRangeSetting, e.nRangeSetting);
    EXPECT_EQ(config.m_nRangeIndex, e.nRangeIndex);
    EXPECT_EQ(config.m_bBurst, e.bBurst);
    EXPECT_EQ(config.m_nBurstSamples, e.nBurstSamples);
    EXPECT_DOUBLE_EQ(config.m_dSoundSpeed, e.dSoundSpeed);
    EXPECT_DOUBLE_EQ(config.m_dSalinity, e.dSalinity);
    EXPECT_EQ(config.m_bStartOnSync, e.bStartOnSync);
    EXPECT_EQ(config.m_bSampleOnSync, e.bSampleOnSync);
    EXPECT_EQ(config.m_nBeams, e.nBeams);
    EXPECT_EQ(config.m_nCells, e.nCells);
    EXPECT_EQ(config.m_bWave, e.bWave);
    EXPECT_EQ(config.m_bDecoded, 1);
}

SRecords Tarsis(std::vector<SField> user) {
    return SRecords("TRS 1001", "TRS 2001", std::move(user));
}

// The user record defaults: divisor 16, range 160, continuous, 1500 m/s, 35 ppt, 3 beams,
// 1 cell; the head: 6000 kHz, 3 beams. Columns: type, Hz, options, divisor, rate, rate index,
// range setting, range index, burst, samples, sound speed, salinity, start and sample on sync,
// beams, cells, waves.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, CConfigDecode, ::testing::Values(
    SDecodeCase{"TarsisContinuous", Tarsis({}),
        SDecoded{1, 6e6, 0, 16, 32.0, 5, 160, 5, 0, 0, 1500, 35.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"TarsisBurstsOnSync",
        Tarsis({{RateDivisor, 8}, {RangeSetting, 130}, {BurstSamples, 2048},
                {TimingControl, 0x0300}, {SoundSpeed, 16000}}),
        SDecoded{1, 6e6, 0, 8, 64.0, 6, 130, 4, 1, 2048, 1465, 35.0, 1, 1, 3, 1, 0}},
    SDecodeCase{"TarsisRateIndexIsALookUp", Tarsis({{RateDivisor, 9}, {RangeSetting, 2001}}),
        SDecoded{1, 6e6, 0, 9, 512.0 / 9, 5, 2001, 4, 0, 0, 1500, 35.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"TarsisOneHertz",
        Tarsis({{RateDivisor, 512}, {RangeSetting, 131}, {Salinity, 0}}),
        SDecoded{1, 6e6, 0, 512, 1.0, 0, 131, 5, 0, 0, 1500, 0.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"TarsisDivisorZero", Tarsis({{RateDivisor, 0}, {RangeSetting, 12}}),
        SDecoded{1, 6e6, 0, 0, kInf, 6, 12, 0, 0, 0, 1500, 35.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"PeloraHeadLimitsBeams",
        SRecords("PLD 1001", "PLD 2001",
                 {{Beams, 4}, {TimingControl, 0x0300}, {BurstSamples, 2048}, {ModeWord, 0x0082}},
                 {{HeadField::Frequency, 1000}}, {{HardwareField::OptionCode, 0x4321}}),
        SDecoded{0, 1e6, 1, 16, 0.0, 0, 0, 0, 0, 0, 1500, 35.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"PeloraHeadFrequency200",
        SRecords("PLD 1001", "PLD 2001", {}, {{HeadField::Frequency, 200}, {HeadField::Beams, 4}},
                 {{HardwareField::OptionCode, 0x5678}}),
        SDecoded{0, 190000, 2, 16, 0.0, 0, 0, 0, 0, 0, 1500, 35.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"KestraTrustsUserBeams",
        SRecords("WPR 1001", "WAV 2001", {{ModeWord, 0x0002}}, {{HeadField::Beams, 2}}),
        SDecoded{3, 6e6, 0, 16, 0.0, 0, 0, 0, 0, 0, 1500, 35.0, 0, 0, 3, 1, 1}},
    SDecodeCase{"CorvaneRateInHertz",
        SRecords("MRV 1001", "MRV 2001",
                 {{Beams, 4}, {RateDivisor, 2000}, {RangeSetting, 600}, {TimingControl, 0x0400},
                  {BurstSamples, 1024}},
                 {{HeadField::Beams, 4}}),
        SDecoded{6, 6e6, 0, 2000, 25.0, 25, 600, 3, 1, 1024, 1500, 35.0, 0, 0, 4, 1, 0}},
    SDecodeCase{"CorvaneStartsOnSyncWithoutBit10",
        SRecords("MRV 1001", "MRV 2001",
                 {{Beams, 4}, {RateDivisor, 5000}, {RangeSetting, 26}, {TimingControl, 0x0100}},
                 {{HeadField::Beams, 4}}),
        SDecoded{6, 6e6, 0, 5000, 10.0, 10, 26, 1, 0, 0, 1500, 35.0, 1, 1, 4, 1, 0}},
    SDecodeCase{"CorvaneDivisorZeroTakesTheSlowestRate",
        SRecords("MRV 1001", "MRV 2001", {{RateDivisor, 0}}),
        SDecoded{6, 6e6, 0, 50000, 1.0, 1, 160, 4, 0, 0, 1500, 35.0, 1, 0, 3, 1, 0}},
    SDecodeCase{"Profiler2Option3Bursts",
        SRecords("RSN 1001", "RSN 2001",
                 {{Beams, 4}, {BurstSamples, 1024}, {Word12, 64}, {SecondModeWord, 0x8000}},
                 {{HeadField::Beams, 4}}, {{HardwareField::OptionCode, 0x6767}}),
        SDecoded{2, 6e6, 4, 16, 0.0, 3, 0, 0, 1, 1024, 1500, 35.0, 0, 0, 3, 1, 0}},
    SDecodeCase{"Profiler2Option3Word12Zero",
        SRecords("RSN 1001", "RSN 2001", {{Beams, 4}, {BurstSamples, 1024}, {Word12, 0}},
                 {{HeadField::Beams, 4}}, {{HardwareField::OptionCode, 0x6767}}),
        SDecoded{2, 6e6, 4, 16, 0.0, 1, 0, 0, 1, 1024, 1500, 35.0, 0, 0, 4, 1, 0}},
    SDecodeCase{"Profiler2WithoutOption3LeavesBurstsAlone",
        SRecords("RSN 1001", "RSN 2001", {{Beams, 4}, {BurstSamples, 1024}, {Word12, 64}},
                 {{HeadField::Beams, 4}}),
        SDecoded{2, 6e6, 0, 16, 0.0, 0, 0, 0, 0, 0, 1500, 35.0, 0, 0, 4, 1, 0}}),
    [](const auto& info) { return std::string(info.param.pName); });
// clang-format on

TEST(CConfig, UpdateRecomputesOnlyInTheDecodeDirection) {
    CInsConf conf = LoadConfiguration(SRecords());
    for (int nFromTiming : {0, 1}) {
        CConfig config;
        config.Decode(conf, nFromTiming, nullptr);
        EXPECT_EQ(config.m_bFromTiming, nFromTiming);
        config.m_nRateDivisor = 512;
        config.Update(nullptr);
        EXPECT_EQ(config.m_nRateIndex, nFromTiming == 1 ? 0 : 5);
    }
}

}  // namespace
}  // namespace sulvan
