// Checks a deployment against the instrument's limits, pulls settings back to their limits
// where it can and tells the user when a setting the user chose was changed. The checks of
// the settings that only planning uses (pulse distances, ping counts, power, memory) change
// nothing this system reads or shows and are not made.

#include "config/ConfigValidation.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "config/CConfig.hpp"
#include "config/CInsConf.hpp"
#include "platform/CUserInterface.hpp"

namespace sulvan {

thread_local int g_nConfigError = 0;
thread_local std::string g_strConfigError;

namespace {

namespace Finding {
inline constexpr int BurstTooLong = 0x83B;
inline constexpr int AnalogChannelsClash = 0x83C;
inline constexpr int IntervalBelowAverage = 0x86A;
inline constexpr int IntervalBelowMinimum = 0x90A;
}  // namespace Finding

struct SMessageText {
    int nId;
    std::string_view strText;
};

constexpr SMessageText kMessageTexts[] = {
    {Finding::BurstTooLong, "The burst does not fit into the measurement interval."},
    {Finding::AnalogChannelsClash, "Both analog inputs are assigned to channel 1."},
    {Finding::IntervalBelowAverage,
     "The measurement interval was raised to fit the averaging interval."},
    {Finding::IntervalBelowMinimum,
     "The averaging or measurement interval was raised to its minimum allowed value."},
};
constexpr std::string_view kOtherFinding = "The deployment settings are not valid.";

constexpr const char* kWaveIntervalChanged =
    "Please note that the measurement interval will be\r"
    "changed to its minimum allowed value.";

constexpr std::uint16_t kTarsisMaxInterval = 32400;
constexpr double kBurstMargin = 5.0;
constexpr int kCorvaneMinRate = 1;
constexpr int kCorvaneMaxRate = 25;
constexpr int kCorvaneRateBase = 50000;
constexpr int kWaveAverageMargin = 5;
constexpr std::uint16_t kWaveMinInterval = 60;
constexpr int kWaveShortMargin = 5;
constexpr int kWaveLongMargin = 60;
constexpr double kKestraLowFrequency = 410000.0;
constexpr int kRule1Margin = 60;
constexpr int kRule2MinAverage = 15;
constexpr int kRule2Margin = 2;
constexpr int kRule3MinAverage = 58;
constexpr int kRule3Margin = 2;

// Interval arithmetic that stays within the 16-bit fields instead of wrapping round.
std::uint16_t ToInterval(int nSeconds) {
    return static_cast<std::uint16_t>(
        std::clamp(nSeconds, 0, static_cast<int>(std::numeric_limits<std::uint16_t>::max())));
}

void RecordFinding(int nId) {
    g_nConfigError = nId;
    g_strConfigError = ComposeMessage(nId);
}

void ShowLastFinding(CUserInterface* pUi) {
    if (pUi != nullptr) {
        pUi->ShowMessage(g_strConfigError);
    }
}

}  // namespace

std::string_view ConfigMessageText(int nId) {
    const auto pFound = std::find_if(std::begin(kMessageTexts), std::end(kMessageTexts),
                                     [nId](const SMessageText& text) { return text.nId == nId; });
    return pFound != std::end(kMessageTexts) ? pFound->strText : kOtherFinding;
}

std::string ComposeMessage(int nId1, const char* pText1, int nId2, const char* pText2, int nId3,
                           const char* pText3, int nId4, const char* pText4) {
    std::string strMessage;
    const auto Append = [&strMessage](int nId, const char* pText) {
        if (nId != 0) {
            strMessage += ConfigMessageText(nId);
        }
        if (pText != nullptr) {
            strMessage += pText;
        }
    };
    Append(nId1, pText1);
    Append(nId2, pText2);
    Append(nId3, pText3);
    Append(nId4, pText4);
    return strMessage;
}

int CConfig::Validate(CUserInterface* pUi) {
    g_nConfigError = 0;
    m_dSalinity = std::max(m_dSalinity, 0.0);
    switch (m_nType) {
        case Family::Tarsis:
            return ValidateTarsis();
        case Family::Corvane:
            ValidateCorvane();
            return 0;
        case Family::Profiler2:
        case Family::Kestra:
            ValidateWaveIntervals(pUi);
            return 0;
        case Family::Instrument4:
        case Family::Profiler5:
            return 0;
        default:
            ValidatePeloraIntervals(pUi);
            return 0;
    }
}

int CConfig::ValidateTarsis() {
    m_nInterval = std::min(m_nInterval, kTarsisMaxInterval);
    if (m_bBurst != 0 && m_nInterval < std::ceil(m_nBurstSamples / m_dSampleRate) + kBurstMargin) {
        RecordFinding(Finding::BurstTooLong);
        return -1;
    }
    if (m_nAnalogA == 1 && m_nAnalogB == 1) {
        RecordFinding(Finding::AnalogChannelsClash);
        return -1;
    }
    return 0;
}

void CConfig::ValidateCorvane() {
    // For this type the rate index is the sampling rate in Hz.
    m_nRateIndex = std::clamp(m_nRateIndex, kCorvaneMinRate, kCorvaneMaxRate);
    m_dSampleRate = m_nRateIndex;
    m_nRateDivisor = static_cast<std::uint16_t>(kCorvaneRateBase / m_nRateIndex);
    if (m_bTimingBit10 == 0) {
        m_bStartOnSync = 1;
    }
    g_strConfigError.clear();
}

void CConfig::ValidateWaveIntervals(CUserInterface* pUi) {
    std::uint16_t& nAverage = m_nRateDivisor;
    nAverage = std::min(nAverage, m_nInterval);
    m_nInterval2 = std::min(m_nInterval2, m_nInterval);
    if (m_bWave == 0) {
        m_bWaveMargin = 0;
        return;
    }

    const std::uint16_t nInitialInterval = m_nInterval;
    if (m_nWaveSamples == 0) {
        m_nInterval = ToInterval(nAverage + kWaveAverageMargin);
        m_nWaveInterval = m_nInterval;
    } else {
        m_nInterval = std::max(m_nInterval, kWaveMinInterval);
        const int nMargin = m_bWaveMargin != 0 ? kWaveLongMargin : kWaveShortMargin;
        double dFactor = m_bWaveRateFlag == 1 ? 2.0 : 1.0;
        if (m_nType == Family::Kestra && m_dFrequency < kKestraLowFrequency) {
            dFactor = 0.75;
        }
        const auto nBurstSeconds = static_cast<std::int64_t>(m_nWaveSamples / dFactor);
        std::int64_t nWaveInterval = std::max<std::int64_t>(
            {m_nWaveInterval, nBurstSeconds + nAverage + nMargin, m_nInterval});
        const std::int64_t nRemainder = nWaveInterval % m_nInterval;
        if (nRemainder != 0) {
            nWaveInterval += m_nInterval - nRemainder;
        }
        m_nWaveInterval = static_cast<std::int32_t>(
            std::min<std::int64_t>(nWaveInterval, std::numeric_limits<std::int32_t>::max()));
    }

    if (m_nInterval != nInitialInterval) {
        g_strConfigError = kWaveIntervalChanged;
        ShowLastFinding(pUi);
    }
}

void CConfig::ValidatePeloraIntervals(CUserInterface* pUi) {
    std::uint16_t& nAverage = m_nRateDivisor;
    nAverage = std::min(nAverage, m_nInterval);

    if (m_bIntervalRule1 != 0) {
        const int nMinimum = nAverage + kRule1Margin + (m_bExtraTimeOption != 0 ? m_nExtraTime : 0);
        if (nMinimum > m_nInterval) {
            m_nInterval = ToInterval(nMinimum);
            RecordFinding(Finding::IntervalBelowAverage);
            ShowLastFinding(pUi);
        }
    }

    if (m_bIntervalRule2 != 0) {
        if (nAverage < kRule2MinAverage) {
            nAverage = kRule2MinAverage;
            m_nInterval = std::max(m_nInterval, nAverage);
            RecordFinding(Finding::IntervalBelowMinimum);
            ShowLastFinding(pUi);
        }
        if (m_nInterval < nAverage + kRule2Margin) {
            m_nInterval = ToInterval(nAverage + kRule2Margin);
            RecordFinding(Finding::IntervalBelowMinimum);
            ShowLastFinding(pUi);
        }
    }

    m_nInterval2 = std::min(m_nInterval2, m_nInterval);
    if (m_bIntervalRule3 != 0) {
        nAverage = std::max(nAverage, static_cast<std::uint16_t>(kRule3MinAverage));
        m_nInterval = std::max(m_nInterval, ToInterval(nAverage + kRule3Margin));
        m_nInterval2 = 1;
    }
}

}  // namespace sulvan
