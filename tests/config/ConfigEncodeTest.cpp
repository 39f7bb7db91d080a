#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CScriptedUserInterface.hpp"
#include "ConfigRecords.hpp"
#include "config/CConfig.hpp"
#include "config/ConfigFields.hpp"
#include "format/BcdClock.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;
using namespace UserField;

// A type 0 instrument whose records pass the feature check.
const SRecords kFeatureRecords{
    "PLD 1001", "PLD 2001", {}, {}, {{HardwareField::ConfigWord, 0x0008}}, "3.40"};

TEST(ConfigEncode, PlanningDefaultGivesAConsistentUserRecord) {
    const CConfig config;
    CInsConf destination;
    config.Encode(destination);
    const SField fields[] = {
        {RateDivisor, 60}, {Interval, 600},     {Interval2, 1},      {TimingControl, 0},
        {ModeWord, 0x20},  {SoundSpeed, 16384}, {Salinity, 0},       {ExtraTime, 1},
        {Word46, 1},       {AnalogInputs, 0},   {SecondModeWord, 0}, {Cells, 1},
        {CellSize, 75},    {Word64, 1},         {Word66, 20},        {CoordinateSystem, 1},
        {Word4, 75},       {Word462, 0},        {Word6, 35},         {Word8, 75},
        {Word10, 1000},    {Word12, 512},       {Word14, 5},         {Beams, 3},
        {Word458, 0},      {Word380, 0},        {Word382, 0},        {Word374, 30}};
    for (const SField& field : fields) {
        EXPECT_EQ(destination.GetUserWord(field.nOffset), field.nValue) << field.nOffset;
    }
    EXPECT_EQ(destination.GetUserDword(WaveInterval), 10800u);
    EXPECT_EQ(destination.GetUserWord(SoundSpeedTable), 15087);
    const auto& user = destination.User();
    // The default record's "NONAME" and "N/A" give way to the empty name and comment.
    EXPECT_TRUE(std::all_of(user.begin() + DeploymentName,
                            user.begin() + DeploymentName + DeploymentNameWidth,
                            [](std::uint8_t n) { return n == 0; }));
    EXPECT_TRUE(std::all_of(user.begin() + Comment, user.begin() + Comment + CommentWidth,
                            [](std::uint8_t n) { return n == 0; }));
    const ClockBytes start = EncodeClock(config.m_dStartTime);
    EXPECT_TRUE(std::equal(start.begin(), start.end(), user.begin() + DeploymentStart));
    CInsConf reloaded;
    EXPECT_EQ(reloaded.SetUserConfig(destination.GetUserConfigRecord()), 1);
}

CConfig BusyDeployment() {
    CConfig config;
    config.m_nInterval = 900;
    config.m_nRateDivisor = 120;
    config.m_nTimingCode5 = 2;
    config.m_bModeBit0 = 1;
    config.m_dSoundSpeed = 1480.0;
    config.m_dSalinity = 34.5;
    config.m_bExtraTimeOption = 1;
    config.m_nWaveInterval = 3600;
    config.m_nExtraTime = 45;
    config.m_nWord46 = 7;
    config.m_nAnalogA = 2;
    config.m_nAnalogB = 1;
    config.m_bIntervalRule1 = 1;
    config.m_bIntervalRule2 = 1;
    config.m_bIntervalRule3 = 1;
    config.m_bModeBit8 = 1;
    config.m_nWord8 = 90;
    config.m_nWord64 = 3;
    config.m_nWord66 = 40;
    config.m_nCoordinateSystem = 2;
    config.m_nWord4 = 100;
    config.m_nWord462 = 3;
    config.m_nWord6 = 40;
    config.m_nWord10 = 900;
    config.m_nWord12 = 256;
    config.m_nWord14 = 4;
    config.m_bTimingBit1 = 1;
    config.m_bTimingBit3Inverted = 0;
    config.m_nWord458 = 9;
    config.m_bSecondModeBit2 = 1;
    config.m_nWord380 = 11;
    config.m_bSecondModeBit10 = 1;
    config.m_bSecondModeBit11 = 1;
    config.m_nWord382 = 13;
    config.m_strName = "ABCDEF";
    config.m_strComment = "Mooring 7, north slope";
    config.m_dStartTime = DecodeClock(MakeClock(2008, 1, 1, 12, 30, 15).data()).value();
    config.m_dSetting374 = 45.0;
    return config;
}

#define EXPECT_SAME(member) EXPECT_EQ(decoded.member, original.member) << #member

TEST(ConfigEncode, RoundTripDecodesToTheSameDeployment) {
    for (const CConfig& original : {CConfig(), BusyDeployment()}) {
        CInsConf conf = LoadConfiguration(kFeatureRecords);
        original.Encode(conf);
        CInsConf reloaded = LoadConfiguration(kFeatureRecords);
        ASSERT_EQ(reloaded.SetUserConfig(conf.GetUserConfigRecord()), 1);
        CScriptedUserInterface ui;
        CConfig decoded;
        decoded.Decode(reloaded, 1, &ui);
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_SAME(m_nType);
        EXPECT_SAME(m_nInterval);
        EXPECT_SAME(m_nRateDivisor);
        EXPECT_SAME(m_nInterval2);
        EXPECT_SAME(m_nTimingCode5);
        EXPECT_SAME(m_bModeBit0);
        EXPECT_SAME(m_dSoundSpeed);
        EXPECT_DOUBLE_EQ(decoded.m_dSalinity, original.m_dSalinity);
        EXPECT_SAME(m_bExtraTimeOption);
        EXPECT_SAME(m_nWaveInterval);
        EXPECT_SAME(m_nExtraTime);
        EXPECT_SAME(m_nWord46);
        EXPECT_SAME(m_nAnalogA);
        EXPECT_SAME(m_nAnalogB);
        EXPECT_SAME(m_bIntervalRule1);
        EXPECT_SAME(m_bIntervalRule2);
        EXPECT_SAME(m_bIntervalRule3);
        EXPECT_SAME(m_bModeBit8);
        EXPECT_SAME(m_nWord8);
        EXPECT_SAME(m_nWord64);
        EXPECT_SAME(m_nWord66);
        EXPECT_SAME(m_nCoordinateSystem);
        EXPECT_SAME(m_nWord4);
        EXPECT_SAME(m_nWord462);
        EXPECT_SAME(m_nWord6);
        EXPECT_SAME(m_nWord10);
        EXPECT_SAME(m_nWord12);
        EXPECT_SAME(m_nWord14);
        EXPECT_SAME(m_nBeams);
        EXPECT_SAME(m_nCells);
        EXPECT_SAME(m_bTimingBit1);
        EXPECT_SAME(m_bTimingBit3Inverted);
        EXPECT_SAME(m_nWord458);
        EXPECT_SAME(m_bSecondModeBit2);
        EXPECT_SAME(m_nWord380);
        EXPECT_SAME(m_bSecondModeBit10);
        EXPECT_SAME(m_bSecondModeBit11);
        EXPECT_SAME(m_nWord382);
        EXPECT_SAME(m_strName);
        EXPECT_SAME(m_strComment);
        EXPECT_SAME(m_dStartTime);
        EXPECT_SAME(m_dSetting374);
    }
}

TEST(ConfigEncode, EdgeValuesAreCutOrDropped) {
    struct SEdgeCase {
        const char* pName;
        void (*pChange)(CConfig&);
        std::size_t nOffset;
        std::uint16_t nValue;
    };
    const SEdgeCase cases[] = {
        {"374 whole", [](CConfig& c) { c.m_dSetting374 = 30.0; }, Word374, 30},
        {"374 truncated", [](CConfig& c) { c.m_dSetting374 = 30.9; }, Word374, 30},
        {"374 negative", [](CConfig& c) { c.m_dSetting374 = -2.7; }, Word374, 0xFFFE},
        {"cells always 1", [](CConfig& c) { c.m_nCells = 5; }, Cells, 1},
        {"flag set only by 1", [](CConfig& c) { c.m_bModeBit0 = 2; }, ModeWord, 0x20},
        {"timing bit 1 only by 1", [](CConfig& c) { c.m_bTimingBit1 = 2; }, TimingControl, 0},
        {"inverted bit 3 by 0", [](CConfig& c) { c.m_bTimingBit3Inverted = 0; }, TimingControl, 8},
        {"inverted bit 3 not by 2", [](CConfig& c) { c.m_bTimingBit3Inverted = 2; }, TimingControl,
         0},
        // Without the feature check the bits 9 to 11 and word 382 keep their defaults.
        {"feature bits", [](CConfig& c) { c = BusyDeployment(); }, SecondModeWord, 0x1004},
        {"feature word", [](CConfig& c) { c = BusyDeployment(); }, Word382, 0},
    };
    for (const SEdgeCase& c : cases) {
        CConfig config;
        c.pChange(config);
        CInsConf destination;
        config.Encode(destination);
        EXPECT_EQ(destination.GetUserWord(c.nOffset), c.nValue) << c.pName;
    }
}

TEST(ConfigEncode, TextsAreCutAndTheWaveIntervalKeepsWholeMinutes) {
    CConfig config;
    config.m_strName = "MOORING";
    config.m_strComment = std::string(100, 'c');
    config.m_nWaveInterval = 10859;
    config.m_dStartTime = std::nan("");
    CInsConf destination;
    config.Encode(destination);
    EXPECT_EQ(destination.GetDeploymentName(), "MOORIN");
    EXPECT_EQ(destination.GetComment(), std::string(80, 'c'));
    EXPECT_EQ(destination.GetUserDword(WaveInterval), 10800u);
    EXPECT_TRUE(std::equal(kInvalidClock.begin(), kInvalidClock.end(),
                           destination.User().begin() + DeploymentStart));
}

TEST(ConfigEncode, AnalogChannelsGiveTheTypeZeroInputWord) {
    // Rows: channel a 0 to 3; columns: channel b 1, 2, 3 and any other.
    const std::uint16_t kWords[4][4] = {{0x0020, 0x2000, 0x2020, 0x0000},
                                        {0x0021, 0x2001, 0x2021, 0x0001},
                                        {0x0120, 0x0100, 0x0100, 0x0100},
                                        {0x0121, 0x0101, 0x0101, 0x0101}};
    for (int nA : {-1, 0, 1, 2, 3, 4}) {
        for (int nB : {0, 1, 2, 3, 4, -2}) {
            CConfig config;
            config.m_nAnalogA = nA;
            config.m_nAnalogB = nB;
            CInsConf destination;
            config.Encode(destination);
            const int nRow = nA >= 0 && nA <= 3 ? nA : 0;
            const int nColumn = nB >= 1 && nB <= 3 ? nB - 1 : 3;
            EXPECT_EQ(destination.GetUserWord(AnalogInputs), kWords[nRow][nColumn])
                << "a " << nA << ", b " << nB;
        }
    }
}

}  // namespace
}  // namespace sulvan
