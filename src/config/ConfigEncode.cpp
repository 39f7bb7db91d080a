// Builds a user record from a deployment. Only the recorder dump repair encodes, and always
// the planning default of type 0, so every type is written the way type 0 is.

#include <cmath>

#include "config/CConfig.hpp"
#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "platform/Numeric.hpp"

namespace sulvan {
namespace {

// By channel a (rows 0 to 3) and channel b (columns 1, 2, 3 and any other value).
constexpr std::uint16_t kAnalogInputWords[4][4] = {
    {0x0020, 0x2000, 0x2020, 0x0000},
    {0x0021, 0x2001, 0x2021, 0x0001},
    {0x0120, 0x0100, 0x0100, 0x0100},
    {0x0121, 0x0101, 0x0101, 0x0101},
};
constexpr int kOtherChannelColumn = 3;

std::uint16_t AnalogInputWord(int nA, int nB) {
    const int nRow = nA >= 0 && nA <= 3 ? nA : 0;
    const int nColumn = nB >= 1 && nB <= 3 ? nB - 1 : kOtherChannelColumn;
    return kAnalogInputWords[nRow][nColumn];
}

// Flags are set only by the value 1.
void WriteFlag(CInsConf& conf, std::size_t nOffset, int nBit, int nValue) {
    conf.SetUserFlag(nOffset, nBit, nValue == 1);
}

constexpr std::int32_t kSecondsPerMinute = 60;

}  // namespace

void CConfig::Encode(CInsConf& destination) const {
    using namespace UserField;
    destination.MakeDefaultUserConfig(m_nType);

    destination.SetUserWord(Interval, m_nInterval);
    destination.SetUserWord(RateDivisor, m_nRateDivisor);
    destination.SetUserWord(Interval2, m_nInterval2);
    destination.SetUserCode(TimingControl, TimingCodeBits5, m_nTimingCode5);
    WriteFlag(destination, ModeWord, ModeBit0, m_bModeBit0);
    destination.SetSoundSpeed(m_dSoundSpeed);
    destination.SetSalinity(m_dSalinity);
    WriteFlag(destination, ModeWord, ModeBit1, m_bExtraTimeOption);
    // The field holds whole minutes, in seconds.
    const std::int32_t nMinutes = m_nWaveInterval / kSecondsPerMinute;
    destination.SetUserDword(WaveInterval,
                             static_cast<std::uint32_t>(nMinutes * kSecondsPerMinute));
    destination.SetUserWord(ExtraTime, m_nExtraTime);
    destination.SetUserWord(Word46, m_nWord46);
    destination.SetFineVelocityScale(false);
    destination.SetUserWord(AnalogInputs, AnalogInputWord(m_nAnalogA, m_nAnalogB));
    WriteFlag(destination, SecondModeWord, SecondModeBit12, m_bIntervalRule3);
    WriteFlag(destination, ModeWord, ModeBit8, m_bModeBit8);
    WriteFlag(destination, ModeWord, ModeBit9, m_bIntervalRule2);
    // The repair replaces the cell count with its own.
    destination.SetUserCells(1);
    destination.SetUserWord(CellSize, m_nWord8);
    destination.SetUserWord(Word64, m_nWord64);
    destination.SetUserWord(Word66, m_nWord66);

    destination.SetUserWord(CoordinateSystem, m_nCoordinateSystem);
    destination.SetUserFlag(ModeWord, ModeBit3, false);
    destination.SetUserWord(Word4, m_nWord4);
    destination.SetUserWord(Word462, m_nWord462);
    destination.SetUserWord(Word6, m_nWord6);
    destination.SetUserWord(Word8, m_nWord8);
    destination.SetUserWord(Word10, m_nWord10);
    destination.SetUserWord(Word12, m_nWord12);
    destination.SetUserWord(Word14, m_nWord14);
    destination.SetUserBeams(m_nBeams);

    destination.SetTimingBit1(m_bTimingBit1 == 1);
    destination.SetTimingBit3Inverted(m_bTimingBit3Inverted != 0);
    destination.SetUserWord(Word458, m_nWord458);
    WriteFlag(destination, SecondModeWord, SecondModeBit2, m_bSecondModeBit2);
    destination.SetUserWord(Word380, m_nWord380);
    if (destination.PassesFeatureCheck()) {
        WriteFlag(destination, SecondModeWord, SecondModeBit9, m_bIntervalRule1);
        WriteFlag(destination, SecondModeWord, SecondModeBit10, m_bSecondModeBit10);
        WriteFlag(destination, SecondModeWord, SecondModeBit11, m_bSecondModeBit11);
        destination.SetUserWord(Word382, m_nWord382);
    }

    destination.SetDeploymentName(m_strName);
    destination.SetDeploymentStart(m_dStartTime);
    destination.SetComment(m_strComment);
    destination.SetUserWord(Word374, ToU16Bits(std::trunc(m_dSetting374)));
}

}  // namespace sulvan
