// The parts of CInsConf that derive or build whole records: type identification, the sound
// speed table, the wave processing defaults and the default user configuration.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "config/SoundSpeed.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/DateTime.hpp"
#include "platform/Numeric.hpp"

namespace sulvan {
namespace {

constexpr int kWaveBlock1Defaults[] = {30, 90, 90, 700, 50, 0, 0, 0, 7};
constexpr int kWaveBlock2Defaults[] = {2,  20, 490, 20, 490, 10, 5,   0, 64,
                                       64, 2,  15,  90, 0,   1,  200, 0, 0};
constexpr int kWaveFlagsDefault = 15;
constexpr int kWaveWordDefault = 490;

constexpr int kBlock486OfProfiler2[] = {-92, -92, -92, -92, -61, -31, 0, 31, 62, 92, 123, 153};
constexpr int kBlock486OfOthers[] = {0, 0, 0, 0, -246, -51, 139, 229, 238, 11, -124, -195};

// Sound speed table temperatures: -4.0 degC in steps of 0.5 degC.
constexpr double kTableFirstTemperature = -4.0;
constexpr double kTableTemperatureStep = 0.5;

}  // namespace

void CInsConf::IdentifyInstrumentType() {
    const std::string_view s(
        reinterpret_cast<const char*>(m_hardware.data()) + HardwareField::Serial, 3);
    const char h0 = static_cast<char>(m_head[HeadField::Serial]);
    const char h1 = static_cast<char>(m_head[HeadField::Serial + 1]);
    const char h2 = static_cast<char>(m_head[HeadField::Serial + 2]);

    int nType = Family::Pelora;
    if (s == "TRS") {
        nType = Family::Tarsis;
    } else if (s == "MRV" || s == "MRC") {
        nType = Family::Corvane;
    } else if (s == "RSN") {
        nType = Family::Profiler2;
    } else if (s == "PLD") {
        if (h2 == 'P' || h2 == 'Z') {
            nType = Family::Profiler2;
        } else if ((h0 == 'E' && (h2 == 'Q' || h1 == '3' || h2 == 'V')) || h0 == 'S') {
            nType = Family::Instrument4;
        } else {
            nType = Family::Pelora;
        }
    } else if (s == "WPR") {
        nType = Family::Kestra;
    } else if (s == "PRD") {
        nType = h0 == 'W' ? Family::Kestra : Family::Profiler5;
    } else if (s == "PRP") {
        nType = Family::Profiler5;
    } else if (h0 == 'W') {
        nType = Family::Kestra;
    } else if (h0 == 'C') {
        nType = Family::Profiler5;
    }
    m_nType = nType;
    if (nType == Family::Instrument4) {
        const bool bSingleCell = h2 == 'V' && h1 != '3' && h0 != 'S';
        SetUserCells(bSingleCell ? 1 : 3);
    }
}

int CInsConf::CellsForInstrument4() const {
    // Unlike the type identification, the default record does not test the first character.
    const char h1 = static_cast<char>(m_head[HeadField::Serial + 1]);
    const char h2 = static_cast<char>(m_head[HeadField::Serial + 2]);
    return h2 == 'V' && h1 != '3' ? 1 : 3;
}

void CInsConf::FillSoundSpeedTable() {
    const double dSalinity = GetSalinity();
    for (std::size_t i = 0; i < UserField::SoundSpeedEntries; ++i) {
        const double dTemperature =
            kTableFirstTemperature + kTableTemperatureStep * static_cast<double>(i);
        const double dSpeed = SoundSpeedUnesco(dSalinity, dTemperature, 0.0);
        const double dStored =
            std::clamp(RoundHalfAwayFromZero(dSpeed * 16384.0 / 1500.0), 0.0, 65535.0);
        SetUserWord(UserField::SoundSpeedTable + 2 * i, static_cast<int>(dStored));
    }
}

int CInsConf::ResetWaveProcessing() {
    for (std::size_t i = 0; i < std::size(kWaveBlock1Defaults); ++i) {
        SetUserWord(UserField::WaveBlock1 + 2 * i, kWaveBlock1Defaults[i]);
    }
    for (std::size_t i = 0; i < std::size(kWaveBlock2Defaults); ++i) {
        SetUserWord(UserField::WaveBlock2 + 2 * i, kWaveBlock2Defaults[i]);
    }
    SetUserWord(UserField::WaveFlags, kWaveFlagsDefault);
    SetUserWord(UserField::Word422, kWaveWordDefault);
    SetUserWord(UserField::Word424, kWaveWordDefault);
    return kWaveWordDefault;
}

void CInsConf::MakeDefaultUserConfig(int nFamily) {
    using namespace UserField;
    m_nType = nFamily;
    m_user.fill(0);
    m_user[0] = kSyncByte;
    m_user[1] = RecordId::UserConfig;
    SetUserWord(2, kUserWords);
    SetUserWord(Word4, 75);
    SetUserWord(Word6, 35);
    SetUserWord(Word8, 75);
    SetUserWord(Word10, 1000);
    SetUserWord(Word12, 512);
    SetUserWord(Word14, 5);
    SetUserWord(RateDivisor, 5);
    SetUserCells(1);
    SetUserWord(CellSize, 1);
    if (nFamily == Family::Corvane) {
        SetUserBeams(4);
    } else if (nFamily == Family::Instrument4) {
        SetUserBeams(2);
        SetUserCells(CellsForInstrument4());
    } else {
        SetUserBeams(3);
    }
    SetUserWord(TimingControl, 0);
    SetUserWord(ControlWord22, 0);
    SetUserWord(Word24, 0);
    SetUserWord(Word26, 0);
    SetUserWord(Word28, 0);
    SetUserWord(Interval2, 1);
    SetUserWord(CoordinateSystem, HasCompass() ? 0 : 1);
    SetUserWord(Interval, 5);
    SetDeploymentName("NONAME");
    SetUserWord(Word46, 1);
    SetDeploymentStart(CurrentLocalDateTime());
    SetUserWord(Word464, 20);
    SetUserDword(WaveInterval, 10800);
    SetUserWord(ModeWord, 0x0020);
    SetUserWord(SoundSpeed, 16384);
    SetUserWord(ExtraTime, 1);
    SetUserWord(Word64, 1);
    SetUserWord(Word66, 20);
    SetUserWord(SecondModeWord, 0);
    SetUserWord(AnalogInputs, 0);
    SetUserWord(Word374, 30);
    FillSoundSpeedTable();
    SetComment("N/A");
    ResetWaveProcessing();

    if (nFamily == Family::Tarsis || nFamily == Family::Corvane) {
        SetUserWord(RangeSetting, 160);
        SetUserWord(Setting450, 0);
        SetUserWord(WaveSamples, 8192);
        SetUserWord(WaveMode, 3750);
        SetUserWord(Setting438, 0x8000);
        SetUserWord(Setting440, 0x4000);
        SetUserWord(Setting442, 0x8000);
        SetUserWord(Setting444, 0x4000);
        SetUserWord(BurstSamples, 0);
        const double dRate = GetUserWord(RateDivisor) / 512.0;
        const double dPerBeam = 2.0 * GetUserInt(Word10) * GetUserBeams() / 32768.0;
        SetUserWord(Setting454, static_cast<int>(RoundHalfAwayFromZero(dRate / dPerBeam)));
        SetUserWord(Setting456, 0x4000);
        SetUserWord(Word458, 0);
        SetUserWord(Word462, 2);
        if (nFamily == Family::Corvane) {
            SetUserWord(Word460, 2);
        }
    } else if (nFamily == Family::Kestra) {
        SetUserWord(WaveMode, 0);
        SetUserWord(Setting438, 80);
        SetUserWord(Setting440, 83);
        SetUserWord(Setting442, 92);
        SetUserWord(Setting444, 5376);
        SetUserWord(WaveSamples, 1024);
        std::fill(m_user.begin() + RangeSetting, m_user.begin() + Setting454, 0);
    } else if (nFamily == Family::Instrument4) {
        SetUserWord(WaveMode, 0);
        SetUserWord(Setting438, 0);
        SetUserWord(Setting440, 60);
        SetUserWord(Setting442, 150);
        SetUserWord(Setting444, 40);
        SetUserWord(WaveSamples, 5);
        SetUserWord(RangeSetting, 416);
    }

    const std::span<const int> block = nFamily == Family::Profiler2
                                           ? std::span<const int>(kBlock486OfProfiler2)
                                           : std::span<const int>(kBlock486OfOthers);
    for (std::size_t i = 0; i < Block486Words; ++i) {
        SetUserWord(Block486 + 2 * i, block[i]);
    }
}

}  // namespace sulvan
