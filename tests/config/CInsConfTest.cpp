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

using namespace records;

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
    const auto entry = [&](std::size_t i) {
        return conf.GetUserWord(UserField::SoundSpeedTable + 2 * i);
    };
    EXPECT_NEAR(entry(28) * 1500.0 / 16384.0, 1489.8, 0.1);
    conf.SetSalinity(0.0);
    EXPECT_EQ(entry(0), 15087);
    EXPECT_EQ(entry(89), 16708);
    conf.SetSalinity(-3.0);
    EXPECT_EQ(conf.GetUserWord(UserField::Salinity), 0);
}

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

// ---- Default user configuration ---------------------------------------------------------

TEST(CInsConfDefaults, CommonFieldsOfEveryFamily) {
    CInsConf conf;
    conf.SetHeadConfig(HeadConfig().Build());  // no compass: coordinate system 1
    conf.MakeDefaultUserConfig(Family::Pelora);
    EXPECT_TRUE(conf.User()[0] == 0xA5 && conf.User()[1] == 0x00);
    struct SField {
        std::size_t nOffset;
        int nValue;
    };
    const SField fields[] = {{2, 256},    {4, 75},   {6, 35},    {8, 75},
                             {10, 1000},  {12, 512}, {14, 5},    {16, 5},
                             {18, 3},     {30, 1},   {32, 1},    {34, 1},
                             {36, 1},     {38, 5},   {46, 1},    {58, 0x20},
                             {60, 16384}, {62, 1},   {66, 20},   {344, 30},
                             {350, 700},  {374, 30}, {414, 200}, {420, 15},
                             {424, 490},  {438, 0},  {464, 20},  {494, 0xFF0A /* -246 */}};
    for (const SField& field : fields) {
        EXPECT_EQ(conf.GetUserWord(field.nOffset), field.nValue) << "user " << field.nOffset;
    }
    EXPECT_EQ(conf.GetUserDword(UserField::WaveInterval), 10800u);
    EXPECT_EQ(conf.GetDeploymentName(), "NONAME");
    EXPECT_EQ(conf.GetComment(), "N/A");
    EXPECT_EQ(conf.GetUserWord(UserField::SoundSpeedTable), 15087);
    const std::optional<double> start = conf.GetDeploymentStart();
    ASSERT_TRUE(start.has_value());
    EXPECT_NEAR(*start, CurrentLocalDateTime(), 2.0 / 86400.0);
}

struct SFamilyDefaults {
    int nFamily;
    const char* pHeadSerial;
    bool bCompass;
    int nBeams;
    int nCells;
    int nCoordinateSystem;
    int n448, n446, n436, n460, n462;
    int nFirst486;  // the first of the twelve words at 486
};

class CInsConfFamilyDefaults : public ::testing::TestWithParam<SFamilyDefaults> {};

TEST_P(CInsConfFamilyDefaults, DifferByFamily) {
    const SFamilyDefaults& c = GetParam();
    SHeadOptions head;
    head.strSerial = c.pHeadSerial;
    head.bCompass = c.bCompass;
    CInsConf conf;
    conf.SetHeadConfig(HeadConfig(head).Build());
    conf.MakeDefaultUserConfig(c.nFamily);
    EXPECT_EQ(conf.GetStoredType(), c.nFamily);
    EXPECT_EQ(conf.GetUserBeams(), c.nBeams);
    EXPECT_EQ(conf.GetUserCells(), c.nCells);
    EXPECT_EQ(conf.GetUserInt(UserField::CoordinateSystem), c.nCoordinateSystem);
    EXPECT_EQ(conf.GetUserInt(UserField::RangeSetting), c.n448);
    EXPECT_EQ(conf.GetUserInt(UserField::WaveSamples), c.n446);
    EXPECT_EQ(conf.GetUserInt(UserField::WaveMode), c.n436);
    EXPECT_EQ(conf.GetUserInt(UserField::Word460), c.n460);
    EXPECT_EQ(conf.GetUserInt(UserField::Word462), c.n462);
    EXPECT_EQ(conf.GetUserInt(UserField::Block486), c.nFirst486);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CInsConfFamilyDefaults,
    ::testing::Values(
        //              family serial compass beams cells coord 448  446   436   460 462 486
        SFamilyDefaults{1, "TRS", false, 3, 1, 1, 160, 8192, 3750, 0, 2, 0},
        SFamilyDefaults{1, "TRS", true, 3, 1, 0, 160, 8192, 3750, 0, 2, 0},
        SFamilyDefaults{6, "MRV", false, 4, 1, 1, 160, 8192, 3750, 2, 2, 0},
        SFamilyDefaults{2, "ABP", false, 3, 1, 1, 0, 0, 0, 0, 0, -92},
        SFamilyDefaults{3, "WAV", false, 3, 1, 1, 0, 1024, 0, 0, 0, 0},
        // Unlike the type identification, the first character does not matter here.
        SFamilyDefaults{4, "SAV", false, 2, 1, 1, 416, 5, 0, 0, 0, 0},
        SFamilyDefaults{4, "E3V", false, 2, 3, 1, 416, 5, 0, 0, 0, 0}));

}  // namespace
}  // namespace sulvan
