#include "config/CInsConf.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "RecordBuilder.hpp"
#include "config/ConfigFields.hpp"
#include "format/Checksum.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/DateTime.hpp"

namespace sulvan {
namespace {

using namespace test;

// ---- Loading --------------------------------------------------------------------------

struct SLoadCase {
    const char* pName;
    int nKind;  // 0 hardware, 1 head, 2 user
    std::size_t nOffset;
    std::uint8_t nValue;
    bool bAcceptedWithControl;
    bool bAcceptedWithoutControl;
};

Bytes RecordOfKind(int nKind) {
    switch (nKind) {
        case 0:
            return HardwareConfig().Build();
        case 1:
            return HeadConfig().Build();
        default:
            return UserConfig().Build();
    }
}

int Load(CInsConf& conf, int nKind, const Bytes& record) {
    switch (nKind) {
        case 0:
            return conf.SetHardwareConfig(record);
        case 1:
            return conf.SetHeadConfig(record);
        default:
            return conf.SetUserConfig(record);
    }
}

class CInsConfLoading : public ::testing::TestWithParam<SLoadCase> {};

TEST_P(CInsConfLoading, ChecksSyncIdentifierSizeAndChecksum) {
    const SLoadCase& c = GetParam();
    Bytes record = RecordOfKind(c.nKind);
    record[c.nOffset] = c.nValue;
    for (bool bControl : {true, false}) {
        CInsConf conf;
        conf.SetChecksumControl(bControl);
        const bool bExpected = bControl ? c.bAcceptedWithControl : c.bAcceptedWithoutControl;
        EXPECT_EQ(Load(conf, c.nKind, record), bExpected ? 1 : 0) << "control " << bControl;
        const std::uint8_t* pStored = c.nKind == 0   ? conf.Hardware().data()
                                      : c.nKind == 1 ? conf.Head().data()
                                                     : conf.User().data();
        // A refused record leaves the stored copy as it was (zero after construction).
        EXPECT_EQ(pStored[0], bExpected ? 0xA5 : 0x00);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, CInsConfLoading, ::testing::Values(
    SLoadCase{"HardwareIntact",      0, 4,   'T',  true,  true},
    SLoadCase{"HardwareBadSync",     0, 0,   0xA4, false, false},
    SLoadCase{"HardwareWrongId",     0, 1,   0x04, false, false},
    SLoadCase{"HardwareWrongSize",   0, 2,   25,   false, false},
    SLoadCase{"HardwareBadChecksum", 0, 20,  0x77, false, true},
    SLoadCase{"HeadIntact",          1, 10,  'T',  true,  true},
    SLoadCase{"HeadWrongId",         1, 1,   0x05, false, false},
    SLoadCase{"HeadWrongSize",       1, 2,   111,  false, false},
    SLoadCase{"HeadBadChecksum",     1, 100, 0x77, false, true},
    SLoadCase{"UserIntact",          2, 18,  3,    true,  true},
    SLoadCase{"UserWrongId",         2, 1,   0x01, false, false},
    SLoadCase{"UserWrongSize",       2, 3,   0x02, false, false},
    SLoadCase{"UserBadChecksum",     2, 500, 0x77, false, true}),
    [](const auto& info) { return std::string(info.param.pName); });
// clang-format on

TEST(CInsConf, TakesTheAlternateHardwareIdentifier) {
    CInsConf conf;
    EXPECT_EQ(conf.SetHardwareConfig(CRecordBuilder(0xFD, 48).Text(4, "TRS 1").Build()), 1);
    EXPECT_EQ(conf.GetHardwareSerial(), "TRS 1");
}

TEST(CInsConf, RefusesARecordShorterThanItsKind) {
    CInsConf conf;
    const Bytes record = UserConfig().Build();
    EXPECT_EQ(conf.SetUserConfig(std::span(record).first(511)), 0);
}

TEST(CInsConf, CopiesOutWithARefreshedChecksum) {
    CInsConf conf;
    ASSERT_EQ(conf.SetUserConfig(UserConfig().Build()), 1);
    conf.SetUserCells(20);
    EXPECT_FALSE(IsRecordIntact(conf.User()));
    CInsConf::UserRecord copy{};
    const std::uint16_t nChecksum = conf.GetUserConfig(copy.data());
    EXPECT_TRUE(IsRecordIntact(copy));
    EXPECT_EQ(ReadU16Le(copy.data() + 510), nChecksum);
    EXPECT_EQ(copy, conf.User());
    EXPECT_TRUE(IsRecordIntact(conf.GetUserConfigRecord()));

    ASSERT_EQ(conf.SetHardwareConfig(HardwareConfig().Build()), 1);
    conf.SetFirmwareText("1.08");
    CInsConf::HardwareRecord hardware{};
    conf.GetHardwareConfig(hardware.data());
    EXPECT_TRUE(IsRecordIntact(hardware));
}

// ---- Type identification ----------------------------------------------------------------

struct STypeCase {
    const char* pHardwareSerial;
    const char* pHeadSerial;
    int nType;
    int nCells;  // user cell count afterwards (set only for type 4)
};

class CInsConfType : public ::testing::TestWithParam<STypeCase> {};

TEST_P(CInsConfType, ComesFromTheSerialNumbersInEitherLoadingOrder) {
    const STypeCase& c = GetParam();
    SHeadOptions head;
    head.strSerial = c.pHeadSerial;
    for (bool bHeadFirst : {false, true}) {
        CInsConf conf;
        conf.SetUserConfig(UserConfig().Build());
        if (bHeadFirst) {
            conf.SetHeadConfig(HeadConfig(head).Build());
        }
        conf.SetHardwareConfig(HardwareConfig(c.pHardwareSerial).Build());
        if (!bHeadFirst) {
            conf.SetHeadConfig(HeadConfig(head).Build());
        }
        EXPECT_EQ(conf.GetStoredType(), c.nType) << "head first " << bHeadFirst;
        EXPECT_EQ(conf.GetInstrumentType(), c.nType);
        EXPECT_EQ(conf.GetUserCells(), c.nCells);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CInsConfType,
    ::testing::Values(STypeCase{"TRS 1001", "TRS 2001", 1, 1}, STypeCase{"MRV 0001", "X", 6, 1},
                      STypeCase{"MRC 0001", "X", 6, 1}, STypeCase{"RSN 0001", "W", 2, 1},
                      STypeCase{"PLD 0001", "ABP", 2, 1}, STypeCase{"PLD 0001", "ABZ", 2, 1},
                      STypeCase{"PLD 0001", "EAQ", 4, 3}, STypeCase{"PLD 0001", "E3X", 4, 3},
                      STypeCase{"PLD 0001", "EAV", 4, 1}, STypeCase{"PLD 0001", "E3V", 4, 3},
                      STypeCase{"PLD 0001", "SAV", 4, 3}, STypeCase{"PLD 0001", "EAX", 0, 1},
                      STypeCase{"PLD 0001", "ABC", 0, 1}, STypeCase{"WPR 0000", "WAV 0000", 3, 1},
                      STypeCase{"PRD 0001", "WXX", 3, 1}, STypeCase{"PRD 0001", "XXX", 5, 1},
                      STypeCase{"PRP 0001", "WXX", 5, 1}, STypeCase{"XYZ 0001", "WXX", 3, 1},
                      STypeCase{"XYZ 0001", "CXX", 5, 1}, STypeCase{"XYZ 0001", "XXX", 0, 1},
                      STypeCase{"TR", "TRS", 0, 1}));

// ---- Fields with rules of their own -------------------------------------------------------

TEST(CInsConf, HeadFrequencyOf200ReadsAndStaysAs190) {
    for (std::uint16_t nStored : {200, 190, 400}) {
        SHeadOptions head;
        head.nFrequencyKhz = nStored;
        CInsConf conf;
        ASSERT_EQ(conf.SetHeadConfig(HeadConfig(head).Build()), 1);
        const int nExpected = nStored == 200 ? 190 : nStored;
        EXPECT_EQ(conf.GetHeadFrequency(), nExpected);
        EXPECT_EQ(conf.GetHeadWord(6), nExpected);
    }
}

struct SFirmwareCase {
    const char* pText;
    double dVersion;
};

class CInsConfFirmware : public ::testing::TestWithParam<SFirmwareCase> {};

TEST_P(CInsConfFirmware, TakesTheSecondCharacterAsTheDecimalPoint) {
    CInsConf conf;
    conf.SetFirmwareText(GetParam().pText);
    EXPECT_DOUBLE_EQ(conf.GetFirmwareVersion(), GetParam().dVersion);
}

INSTANTIATE_TEST_SUITE_P(Table, CInsConfFirmware,
                         ::testing::Values(SFirmwareCase{"3 36", 3.36}, SFirmwareCase{"336 ", 3.6},
                                           SFirmwareCase{"1.08", 1.08}, SFirmwareCase{"1.07", 1.07},
                                           SFirmwareCase{"1,08", 1.08}, SFirmwareCase{"", 0.0},
                                           SFirmwareCase{"    ", 0.0}, SFirmwareCase{"7", 7.0},
                                           SFirmwareCase{"x.08", 0.0}, SFirmwareCase{"2.1a", 2.1}));

TEST(CInsConf, SalinityRoundsHalfAwayFromZeroAndRefillsTheTable) {
    CInsConf conf;
    conf.SetSalinity(35.04);
    EXPECT_EQ(conf.GetUserWord(UserField::Salinity), 350);
    conf.SetSalinity(35.05);
    EXPECT_EQ(conf.GetUserWord(UserField::Salinity), 351);
    conf.SetSalinity(35.0);
    // Entry 28 is 10 degC: 1489.8 m/s stored as speed * 16384 / 1500.
    EXPECT_NEAR(conf.GetSoundSpeedTableEntry(28) * 1500.0 / 16384.0, 1489.8, 0.1);
    conf.SetSalinity(0.0);
    EXPECT_EQ(conf.GetSoundSpeedTableEntry(0), 15087);
    EXPECT_EQ(conf.GetSoundSpeedTableEntry(89), 16708);
    conf.SetSalinity(-3.0);
    EXPECT_EQ(conf.GetUserWord(UserField::Salinity), 0);
}

TEST(CInsConf, SoundSpeedSettingIsScaledBy1500Over16384) {
    CInsConf conf;
    conf.SetSoundSpeed(1500.0);
    EXPECT_EQ(conf.GetUserWord(UserField::SoundSpeed), 16384);
    conf.SetUserWord(UserField::SoundSpeed, 16000);
    EXPECT_NEAR(conf.GetSoundSpeed(), 1464.84, 0.01);
}

TEST(CInsConf, TextFieldsStopAtTheFirstZeroAndAtTheirWidth) {
    CInsConf conf;
    conf.SetDeploymentName("LONGNAME");
    EXPECT_EQ(conf.GetDeploymentName(), "LONGNA");
    EXPECT_EQ(conf.User()[UserField::DeploymentName + 5], 'A');
    EXPECT_EQ(conf.User()[UserField::DeploymentName + 6], 0);
    conf.SetDeploymentName("AB");
    EXPECT_EQ(conf.GetDeploymentName(), "AB");
    EXPECT_EQ(conf.User()[UserField::DeploymentName + 2], 0);
    conf.SetComment(std::string(100, 'c'));
    EXPECT_EQ(conf.GetComment(), std::string(80, 'c'));
    SHeadOptions head;
    head.strSerial = "ABCDEFGHIJKL";  // all twelve bytes, no terminating zero
    conf.SetHeadConfig(HeadConfig(head).Build());
    EXPECT_EQ(conf.GetHeadSerial(), "ABCDEFGHIJKL");
}

TEST(CInsConf, FlagsAndCodesChangeOnlyTheirBits) {
    CInsConf conf;
    conf.SetUserWord(UserField::TimingControl, 0xFFFF);
    conf.SetUserCode(UserField::TimingControl, UserField::TimingCodeBits5, 2);
    EXPECT_EQ(conf.GetUserWord(UserField::TimingControl), 0xFFDF);
    EXPECT_EQ(conf.GetUserCode(UserField::TimingControl, UserField::TimingCodeBits5), 2);
    conf.SetUserFlag(UserField::TimingControl, UserField::StartOnSyncBit, false);
    EXPECT_EQ(conf.GetUserWord(UserField::TimingControl), 0xFDDF);

    conf.SetUserWord(UserField::TimingControl, 0x0001);
    conf.SetTimingBit1(true);
    EXPECT_EQ(conf.GetUserWord(UserField::TimingControl), 0x0002);
    conf.SetUserWord(UserField::TimingControl, 0x0004);
    EXPECT_TRUE(conf.GetTimingBit3Inverted());
    conf.SetTimingBit3Inverted(false);
    EXPECT_EQ(conf.GetUserWord(UserField::TimingControl), 0x0008);
    EXPECT_FALSE(conf.GetTimingBit3Inverted());
    conf.SetUserCode(UserField::TimingControl, UserField::TimingCodeBits14, 1);
    EXPECT_TRUE(conf.GetTimingCode14IsOne());
    conf.SetUserCode(UserField::TimingControl, UserField::TimingCodeBits14, 3);
    EXPECT_FALSE(conf.GetTimingCode14IsOne());

    EXPECT_TRUE(conf.GetModeBit12Inverted());
    conf.SetUserFlag(UserField::ModeWord, UserField::ModeBit12Inverted, true);
    EXPECT_FALSE(conf.GetModeBit12Inverted());

    conf.OrUserWord466(0x0101);
    conf.OrUserWord466(0x0010);
    EXPECT_EQ(conf.GetUserWord(UserField::Word466), 0x0111);

    conf.SetUserBcd(426, 59);
    EXPECT_EQ(conf.User()[426], 0x59);
    EXPECT_EQ(conf.GetUserBcd(426), 59);

    conf.SetUserScaled(386, 0.001, -1.2345);
    EXPECT_EQ(conf.GetUserInt(386), -1235);
    EXPECT_DOUBLE_EQ(conf.GetUserScaled(386, 0.001), -1.235);
}

TEST(CInsConf, WritingTheWaveResetBitRestoresTheWaveDefaults) {
    CInsConf conf;
    conf.SetUserWord(UserField::WaveBlock1, 999);
    conf.SetUserWord(UserField::Word424, 1);
    conf.SetWaveResetBit(false);
    EXPECT_EQ(conf.GetUserWord(UserField::WaveBlock1), 30);
    EXPECT_EQ(conf.GetUserWord(UserField::Word424), 490);
    EXPECT_EQ(conf.GetUserWord(UserField::WaveFlags), 15);
    EXPECT_EQ(conf.GetUserWord(UserField::WaveBlock2 + 2 * 15), 200);
    EXPECT_EQ(conf.ResetWaveProcessing(), 490);
}

struct SAnalogCase {
    int nType;  // taken from the hardware serial
    std::uint16_t nWord;
    int nA;
    int nB;
};

class CInsConfAnalog : public ::testing::TestWithParam<SAnalogCase> {};

TEST_P(CInsConfAnalog, ChannelsFromTheFourFields) {
    const SAnalogCase& c = GetParam();
    CInsConf conf;
    conf.SetHeadConfig(HeadConfig().Build());
    conf.SetHardwareConfig(HardwareConfig(c.nType == 1 ? "TRS 1" : "PLD 1").Build());
    conf.SetUserWord(UserField::AnalogInputs, c.nWord);
    EXPECT_EQ(conf.GetAnalogInputs(), std::make_pair(c.nA, c.nB));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CInsConfAnalog,
    ::testing::Values(SAnalogCase{0, 0x0000, 0, 0}, SAnalogCase{0, 0x0001, 1, 0},
                      SAnalogCase{0, 0x0020, 0, 1}, SAnalogCase{0, 0x0100, 2, 0},
                      SAnalogCase{0, 0x2001, 1, 3}, SAnalogCase{0, 0x1111, 3, 0},
                      SAnalogCase{1, 0x0001, 2, 0}, SAnalogCase{1, 0x0100, 1, 0},
                      SAnalogCase{1, 0x2000, 0, 0},  // the fourth field is not read
                      SAnalogCase{1, 0x0210, 2, 1}));

TEST(CInsConf, FeatureCheckNeedsPeloraHardwareBit3AndFirmware) {
    struct SCase {
        const char* pSerial;
        std::uint16_t nConfigWord;
        const char* pFirmware;
        const char* pHeadSerial;
        bool bPasses;
    };
    const SCase cases[] = {
        {"PLD 1", 0x0008, "3.33", "ABC", true},  {"PLD 1", 0x0008, "3.32", "ABC", false},
        {"PLD 1", 0x0000, "3.40", "ABC", false}, {"PLD 1", 0x0008, "3.33", "ABL", false},
        {"PLD 1", 0x0008, "3.34", "ABL", true},  {"TRS 1", 0x0008, "3.40", "ABC", false}};
    for (const SCase& c : cases) {
        SHeadOptions head;
        head.strSerial = c.pHeadSerial;
        CInsConf conf;
        conf.SetHeadConfig(HeadConfig(head).Build());
        conf.SetHardwareConfig(HardwareConfig(c.pSerial, c.pFirmware)
                                   .U16(HardwareField::ConfigWord, c.nConfigWord)
                                   .Build());
        EXPECT_EQ(conf.PassesFeatureCheck(), c.bPasses) << c.pFirmware << " " << c.pHeadSerial;
    }
}

TEST(CInsConf, HeadCheckNeedsTypeSixAndQuantityOf101) {
    for (std::uint16_t nQuantity : {100, 101}) {
        SHeadOptions head;
        head.nQuantity198 = nQuantity;
        CInsConf conf;
        conf.SetHeadConfig(HeadConfig(head).Build());
        conf.SetHardwareConfig(HardwareConfig("MRV 1").Build());
        EXPECT_EQ(conf.PassesHeadCheck(), nQuantity == 101);
    }
}

TEST(CInsConf, HardwareOptionsFromTheOptionCode) {
    for (std::uint16_t nCode : {0x4321, 0x89AB, 0xC7A4, 0x5678, 0x6767, 0x1234}) {
        CInsConf conf;
        conf.SetHardwareConfig(HardwareConfig().U16(HardwareField::OptionCode, nCode).Build());
        EXPECT_EQ(conf.GetHardwareOption1(), nCode == 0x4321 || nCode == 0x89AB || nCode == 0xC7A4);
        EXPECT_EQ(conf.GetHardwareOption2(), nCode == 0x5678);
        EXPECT_EQ(conf.GetHardwareOption3(), nCode == 0x6767);
    }
}

TEST(CInsConf, DerivedFiguresInvertTheirSetters) {
    CInsConf conf;
    conf.SetUserWord(UserField::Word14, 10);
    conf.SetUserWord(UserField::Setting444, 200);
    EXPECT_NEAR(conf.GetDerivedF1(), 200 * std::sin(25.0 * M_PI / 180.0) * 10 * 0.1, 1e-9);
    conf.SetUserFlag(UserField::Word24, 5, true);  // halves P
    EXPECT_NEAR(conf.GetDerivedF1(), 200 * std::sin(25.0 * M_PI / 180.0) * 5 * 0.1, 1e-9);
    conf.SetDerivedF1(conf.GetDerivedF1() + 1e-9);
    EXPECT_EQ(conf.GetUserWord(UserField::Setting444), 200);
    conf.SetUserWord(UserField::Word14, 0);
    conf.SetDerivedF2(100.0);  // no count: nothing to divide by
    EXPECT_EQ(conf.GetUserWord(UserField::BurstSamples), 0);
}

// ---- Default user configuration ---------------------------------------------------------

TEST(CInsConfDefaults, CommonFieldsOfEveryFamily) {
    CInsConf conf;
    conf.SetHeadConfig(HeadConfig().Build());  // no compass
    conf.MakeDefaultUserConfig(Family::Pelora);
    const auto& user = conf.User();
    EXPECT_EQ(user[0], 0xA5);
    EXPECT_EQ(user[1], 0x00);
    EXPECT_EQ(conf.GetUserWord(2), 256);
    const int kWords4To16[] = {75, 35, 75, 1000, 512, 5, 5};
    for (std::size_t i = 0; i < std::size(kWords4To16); ++i) {
        EXPECT_EQ(conf.GetUserWord(4 + 2 * i), kWords4To16[i]) << 4 + 2 * i;
    }
    EXPECT_EQ(conf.GetUserBeams(), 3);
    EXPECT_EQ(conf.GetUserCells(), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::CellSize), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::Interval2), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::CoordinateSystem), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::Interval), 5);
    EXPECT_EQ(conf.GetDeploymentName(), "NONAME");
    EXPECT_EQ(conf.GetUserWord(UserField::Word46), 1);
    EXPECT_EQ(conf.GetUserDword(UserField::WaveInterval), 10800u);
    EXPECT_EQ(conf.GetUserWord(UserField::ModeWord), 0x0020);
    EXPECT_EQ(conf.GetUserWord(UserField::SoundSpeed), 16384);
    EXPECT_EQ(conf.GetUserWord(UserField::ExtraTime), 1);
    EXPECT_EQ(conf.GetUserWord(UserField::Word66), 20);
    EXPECT_EQ(conf.GetUserWord(UserField::Word374), 30);
    EXPECT_EQ(conf.GetUserWord(UserField::Word464), 20);
    EXPECT_EQ(conf.GetComment(), "N/A");
    EXPECT_EQ(conf.GetSoundSpeedTableEntry(0), 15087);
    EXPECT_EQ(conf.GetSoundSpeedTableEntry(89), 16708);
    EXPECT_EQ(conf.GetUserWord(UserField::WaveBlock1 + 6), 700);
    EXPECT_EQ(conf.GetUserWord(UserField::Word422), 490);
    const std::optional<double> start = conf.GetDeploymentStart();
    ASSERT_TRUE(start.has_value());
    EXPECT_NEAR(*start, CurrentLocalDateTime(), 2.0 / 86400.0);
    EXPECT_EQ(conf.GetUserWord(UserField::Setting438), 0);  // other families leave 436 to 462
    EXPECT_EQ(conf.GetUserInt(UserField::Block486 + 8), -246);
    EXPECT_EQ(conf.GetStoredType(), Family::Pelora);
}

TEST(CInsConfDefaults, CompassHeadSelectsCoordinateSystemZero) {
    SHeadOptions head;
    head.bCompass = true;
    CInsConf conf;
    conf.SetHeadConfig(HeadConfig(head).Build());
    conf.MakeDefaultUserConfig(Family::Tarsis);
    EXPECT_EQ(conf.GetUserWord(UserField::CoordinateSystem), 0);
}

TEST(CInsConfDefaults, VelocimeterFamilies) {
    for (int nFamily : {Family::Tarsis, Family::Corvane}) {
        CInsConf conf;
        conf.MakeDefaultUserConfig(nFamily);
        EXPECT_EQ(conf.GetUserBeams(), nFamily == Family::Corvane ? 4 : 3);
        EXPECT_EQ(conf.GetUserWord(UserField::RangeSetting), 160);
        EXPECT_EQ(conf.GetUserWord(UserField::WaveSamples), 8192);
        EXPECT_EQ(conf.GetUserWord(UserField::WaveMode), 3750);
        EXPECT_EQ(conf.GetUserWord(UserField::Setting438), 0x8000);
        EXPECT_EQ(conf.GetUserWord(UserField::Setting444), 0x4000);
        EXPECT_EQ(conf.GetUserWord(UserField::BurstSamples), 0);
        EXPECT_EQ(conf.GetUserWord(UserField::Setting454), 0);
        EXPECT_EQ(conf.GetUserWord(UserField::Setting456), 0x4000);
        EXPECT_EQ(conf.GetUserWord(UserField::Word460), nFamily == Family::Corvane ? 2 : 0);
        EXPECT_EQ(conf.GetUserWord(UserField::Word462), 2);
        const int kBlock[] = {0, 0, 0, 0, -246, -51, 139, 229, 238, 11, -124, -195};
        for (std::size_t i = 0; i < 12; ++i) {
            EXPECT_EQ(conf.GetUserInt(UserField::Block486 + 2 * i), kBlock[i]);
        }
        EXPECT_EQ(conf.GetStoredType(), nFamily);
    }
}

TEST(CInsConfDefaults, ProfilerAndWaveFamilies) {
    CInsConf profiler;
    profiler.MakeDefaultUserConfig(Family::Profiler2);
    const int kBlock[] = {-92, -92, -92, -92, -61, -31, 0, 31, 62, 92, 123, 153};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(profiler.GetUserInt(UserField::Block486 + 2 * i), kBlock[i]);
    }
    EXPECT_EQ(profiler.GetUserWord(UserField::WaveMode), 0);

    CInsConf kestra;
    kestra.MakeDefaultUserConfig(Family::Kestra);
    EXPECT_EQ(kestra.GetUserWord(UserField::Setting438), 80);
    EXPECT_EQ(kestra.GetUserWord(UserField::Setting440), 83);
    EXPECT_EQ(kestra.GetUserWord(UserField::Setting442), 92);
    EXPECT_EQ(kestra.GetUserWord(UserField::Setting444), 5376);
    EXPECT_EQ(kestra.GetUserWord(UserField::WaveSamples), 1024);
    EXPECT_EQ(kestra.GetUserWord(UserField::RangeSetting), 0);
}

TEST(CInsConfDefaults, Instrument4CellsFollowTheHeadSerial) {
    struct SCase {
        const char* pHeadSerial;
        int nCells;
    };
    // Unlike the type identification, a leading 'S' does not matter here.
    for (const SCase& c : {SCase{"EAV", 1}, SCase{"SAV", 1}, SCase{"E3V", 3}, SCase{"EAQ", 3}}) {
        SHeadOptions head;
        head.strSerial = c.pHeadSerial;
        CInsConf conf;
        conf.SetHeadConfig(HeadConfig(head).Build());
        conf.MakeDefaultUserConfig(Family::Instrument4);
        EXPECT_EQ(conf.GetUserBeams(), 2);
        EXPECT_EQ(conf.GetUserCells(), c.nCells) << c.pHeadSerial;
        EXPECT_EQ(conf.GetUserWord(UserField::Setting442), 150);
        EXPECT_EQ(conf.GetUserWord(UserField::RangeSetting), 416);
    }
}

}  // namespace
}  // namespace sulvan
