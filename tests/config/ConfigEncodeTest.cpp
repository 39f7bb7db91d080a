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

}  // namespace
}  // namespace sulvan
