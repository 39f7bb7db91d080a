#include "config/CConfig.hpp"

#include <algorithm>
#include <limits>
#include <span>

#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"
#include "platform/DateTime.hpp"
#include "platform/Numeric.hpp"

namespace sulvan {
namespace {

// A step of an index table: values up to nUpTo give nIndex.
struct SIndexStep {
    int nUpTo;
    int nIndex;
};

int LookUpIndex(std::span<const SIndexStep> steps, int nValue, int nIndexAbove) {
    for (const SIndexStep& step : steps) {
        if (nValue <= step.nUpTo) {
            return step.nIndex;
        }
    }
    return nIndexAbove;
}

constexpr SIndexStep kRateSteps[] = {{8, 6}, {16, 5}, {32, 4}, {64, 3}, {128, 2}, {256, 1}};
constexpr SIndexStep kBurstRateSteps[] = {{1, 0},  {2, 1},  {4, 2}, {8, 3},
                                          {16, 4}, {32, 5}, {64, 6}};
constexpr SIndexStep kRangeSteps[] = {{12, 0},  {20, 1},  {30, 2},  {50, 3},
                                      {130, 4}, {300, 5}, {2000, 6}};
constexpr SIndexStep kCorvaneRangeSteps[] = {{25, 0},  {40, 1},  {70, 2},
                                             {140, 3}, {300, 4}, {500, 5}};

// Type 1 samples at 512 / divisor Hz; type 6 at 50000 / divisor Hz.
constexpr double kTarsisRateBase = 512.0;
constexpr double kCorvaneRateBase = 50000.0;
// A rate that cannot be formed (a divisor of 0) takes index 1 instead of an unbounded one.
constexpr int kSafeRateIndex = 1;
constexpr int kMaxBeamsWithBit15 = 3;

bool IsVelocimeter(int nType) {
    return nType == Family::Tarsis || nType == Family::Corvane;
}

bool IsWaveProfiler(int nType) {
    return nType == Family::Profiler2 || nType == Family::Kestra;
}

// Type 0 and any value outside the known types share their settings.
bool ReadsAsPelora(int nType) {
    return nType < Family::Tarsis || nType > Family::Corvane;
}

int Flag(const CInsConf& conf, std::size_t nOffset, int nBit) {
    return conf.GetUserFlag(nOffset, nBit) ? 1 : 0;
}

// The smaller of the head and user beam counts; profilers of types 2 and 3 trust the user
// record alone.
std::int16_t DecodeBeams(const CInsConf& conf, int nType) {
    const int nUserBeams = conf.GetUserWord(UserField::Beams);
    const int nHeadBeams = conf.GetHeadInt(HeadField::Beams);
    const bool bHeadLimits = !IsWaveProfiler(nType) && nHeadBeams < nUserBeams;
    return static_cast<std::int16_t>(bHeadLimits ? nHeadBeams : nUserBeams);
}

int DecodeWave(const CInsConf& conf, int nType) {
    if (IsWaveProfiler(nType)) {
        return Flag(conf, UserField::ModeWord, UserField::ModeBit1);
    }
    if (nType == Family::Instrument4) {
        return Flag(conf, UserField::ModeWord, UserField::ModeBit7);
    }
    return 0;
}

}  // namespace

CConfig::CConfig() : m_dStartTime(CurrentLocalDateTime()) {}

void CConfig::Decode(CInsConf& conf, int nFromTiming, CUserInterface* pUi) {
    m_nType = conf.GetInstrumentType();
    m_dFrequency = conf.GetHeadFrequency() * 1000.0;
    m_bOption1 = conf.GetHardwareOption1() ? 1 : 0;
    m_bOption2 = conf.GetHardwareOption2() ? 1 : 0;
    m_bOption3 = conf.GetHardwareOption3() ? 1 : 0;
    m_dSoundSpeed = RoundHalfAwayFromZero(conf.GetSoundSpeed());
    m_dSalinity = conf.GetSalinity();
    m_nBeams = DecodeBeams(conf, m_nType);
    m_nCells = static_cast<std::int16_t>(conf.GetUserCells());
    m_bWave = DecodeWave(conf, m_nType);
    DecodeSampling(conf);
    DecodeValidationMembers(conf);
    DecodeSettings(conf);

    m_bDecoded = 1;
    m_bFromTiming = 1;
    Update(pUi);
    m_bFromTiming = nFromTiming;
}

void CConfig::DecodeSampling(const CInsConf& conf) {
    using namespace UserField;
    m_nRateDivisor = conf.GetUserWord(RateDivisor);
    if (IsVelocimeter(m_nType)) {
        m_nRangeSetting = conf.GetUserWord(RangeSetting);
        m_bStartOnSync = Flag(conf, TimingControl, StartOnSyncBit);
        m_bSampleOnSync = Flag(conf, TimingControl, SampleOnSyncBit);
    } else {
        m_bStartOnSync = 0;
        m_bSampleOnSync = 0;
    }

    const bool bBurstProfiler = m_nType == Family::Profiler2 && m_bOption3 != 0;
    if (!IsVelocimeter(m_nType) && !bBurstProfiler) {
        return;
    }
    const std::uint16_t nBurstSamples = conf.GetUserWord(BurstSamples);
    m_bBurst = nBurstSamples != 0 ? 1 : 0;
    if (m_bBurst == 0) {
        return;
    }
    m_nBurstSamples = nBurstSamples;
    if (bBurstProfiler) {
        const int nWord12 = conf.GetUserInt(Word12);
        m_nRateIndex = nWord12 == 0 ? kSafeRateIndex
                                    : BurstRateIndex(static_cast<std::int16_t>(512 / nWord12));
    }
}

void CConfig::DecodeValidationMembers(const CInsConf& conf) {
    using namespace UserField;
    m_nInterval = conf.GetUserWord(Interval);
    m_nInterval2 = conf.GetUserWord(Interval2);
    m_nWaveInterval = static_cast<std::int32_t>(conf.GetUserDword(WaveInterval));
    m_nWaveSamples = conf.GetUserWord(WaveSamples);
    m_bWaveRateFlag = IsWaveProfiler(m_nType) ? Flag(conf, WaveMode, WaveRateBit) : 0;
    m_bWaveMargin = m_nType == Family::Kestra ? Flag(conf, SecondModeWord, WaveResetBit) : 0;
    m_bIntervalRule1 = conf.PassesFeatureCheck() ? Flag(conf, SecondModeWord, SecondModeBit9) : 0;

    const bool bPelora = ReadsAsPelora(m_nType);
    m_bExtraTimeOption = bPelora ? Flag(conf, ModeWord, ModeBit1) : 0;
    m_nExtraTime = conf.GetUserWord(ExtraTime);
    m_bIntervalRule2 = bPelora ? Flag(conf, ModeWord, ModeBit9) : 0;
    m_bIntervalRule3 = bPelora ? Flag(conf, SecondModeWord, SecondModeBit12) : 0;

    const auto [nA, nB] = conf.GetAnalogInputs();
    m_nAnalogA = nA;
    m_nAnalogB = nB;
    m_bTimingBit10 = m_nType == Family::Corvane ? Flag(conf, TimingControl, TimingBit10) : 0;
}

void CConfig::DecodeSettings(const CInsConf& conf) {
    using namespace UserField;
    m_nWord4 = conf.GetUserInt(Word4);
    m_nWord6 = conf.GetUserInt(Word6);
    m_nWord8 = conf.GetUserInt(Word8);
    m_nWord10 = conf.GetUserInt(Word10);
    m_nWord12 = conf.GetUserInt(Word12);
    m_nWord14 = conf.GetUserWord(Word14);
    m_nTimingCode5 = conf.GetUserCode(TimingControl, TimingCodeBits5);
    m_bTimingBit1 = Flag(conf, TimingControl, TimingBit1);
    m_bTimingBit3Inverted = conf.GetTimingBit3Inverted() ? 1 : 0;
    m_nCoordinateSystem = conf.GetUserInt(CoordinateSystem);
    m_nWord46 = conf.GetUserInt(Word46);
    m_bModeBit0 = Flag(conf, ModeWord, ModeBit0);
    m_bModeBit8 = Flag(conf, ModeWord, ModeBit8);
    m_nWord64 = conf.GetUserInt(Word64);
    m_nWord66 = conf.GetUserInt(Word66);
    m_bSecondModeBit2 = Flag(conf, SecondModeWord, SecondModeBit2);
    m_bSecondModeBit10 = Flag(conf, SecondModeWord, SecondModeBit10);
    m_bSecondModeBit11 = Flag(conf, SecondModeWord, SecondModeBit11);
    m_bSecondModeBit15 = Flag(conf, SecondModeWord, SecondModeBit15);
    m_nWord380 = conf.GetUserInt(Word380);
    m_nWord382 = conf.GetUserInt(Word382);
    m_nWord458 = conf.GetUserInt(Word458);
    m_nWord462 = conf.GetUserInt(Word462);
    const std::int16_t nSetting374 = conf.GetUserInt(Word374);
    m_dSetting374 = nSetting374 == 0 ? 30.0 : nSetting374;
    m_strName = conf.GetDeploymentName();
    m_strComment = conf.GetComment();
    m_dStartTime = conf.GetDeploymentStart().value_or(std::numeric_limits<double>::quiet_NaN());
}

int CConfig::Update(CUserInterface* pUi) {
    // Only the decode direction is built: outside it the settings stand as they are.
    if (m_bDecoded != 0 && m_bFromTiming != 0) {
        UpdateFromTiming();
    }
    return Validate(pUi);
}

void CConfig::UpdateFromTiming() {
    switch (m_nType) {
        case Family::Tarsis:
            m_dSampleRate = kTarsisRateBase / m_nRateDivisor;
            m_nRateIndex = RateIndex(static_cast<std::int16_t>(m_nRateDivisor));
            m_nRangeIndex = RangeIndex(static_cast<std::int16_t>(m_nRangeSetting), m_nType);
            break;
        case Family::Corvane:
            m_nRateIndex = m_nRateDivisor == 0
                               ? kSafeRateIndex
                               : static_cast<int>(kCorvaneRateBase / m_nRateDivisor);
            m_dSampleRate = m_nRateIndex;
            m_nRangeIndex = RangeIndex(static_cast<std::int16_t>(m_nRangeSetting), m_nType);
            break;
        case Family::Profiler2:
            if (m_bSecondModeBit15 != 0) {
                m_nBeams = std::min<std::int16_t>(m_nBeams, kMaxBeamsWithBit15);
            }
            break;
        default:
            break;
    }
}

std::uint16_t CConfig::CellSizeToRaw(double dMetres) const {
    const double x = 256.0 * dMetres;
    const double f = m_dFrequency;
    double r = 0.0;
    if (m_nType == Family::Profiler5) {
        r = f >= 210000.0 ? x / 0.09075 : x / 0.22206250000000002;
    } else if (m_bOption3 != 0) {
        r = f >= 1010000.0 ? x * 24000000.0 / 162000.0 : x * 24000000.0 / 324000.0;
    } else {
        r = x / (750.0 / (4.0 * f / 255.0));
    }
    return RoundToU16Bits(r);
}

int CConfig::RateIndex(std::int16_t nDivisor) {
    return LookUpIndex(kRateSteps, nDivisor, 0);
}

int CConfig::BurstRateIndex(std::int16_t n) {
    return LookUpIndex(kBurstRateSteps, n, 0);
}

int CConfig::RangeIndex(std::int16_t nSetting, int nType) {
    if (nType == Family::Corvane) {
        return LookUpIndex(kCorvaneRangeSteps, nSetting, 3);
    }
    return LookUpIndex(kRangeSteps, nSetting, 4);
}

}  // namespace sulvan
