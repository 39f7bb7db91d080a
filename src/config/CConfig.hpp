#pragma once
// The deployment object: the configuration of one recording restated as a deployment (type,
// frequency, sampling and range settings, beam and cell counts, bursts, environment). The
// reader fills it with Decode each time it opens a file; converters read their figures here,
// never from the raw records.

#include <cstdint>
#include <string>

namespace sulvan {

class CInsConf;
class CUserInterface;

// The last finding of a validation, shared by every deployment object of the thread: the
// dialog's quick look opens recordings on a worker thread while the window's thread converts.
extern thread_local int g_nConfigError;
extern thread_local std::string g_strConfigError;

class CConfig {
  public:
    // The planning default of an instrument of type 0 (2 MHz, 3 beams, 1 cell).
    CConfig();
    virtual ~CConfig() = default;

    // Fills the members from the configuration, recomputes the derived quantities and
    // validates. Messages of the validation go to pUi; none are shown when it is null.
    void Decode(CInsConf& conf, int nFromTiming, CUserInterface* pUi);
    // Recomputes the derived quantities and validates: 0 valid, 1 valid after an
    // adjustment, -1 invalid.
    int Update(CUserInterface* pUi);
    int Validate(CUserInterface* pUi);
    // Builds the user record of the destination from this deployment (type 0). The checksum
    // is refreshed when the record is copied out.
    void Encode(CInsConf& destination) const;
    // The raw cell-size value for a cell size in metres, for this type and frequency.
    std::uint16_t CellSizeToRaw(double dMetres) const;

    static int RateIndex(std::int16_t nDivisor);
    static int BurstRateIndex(std::int16_t n);
    static int RangeIndex(std::int16_t nSetting, int nType);

    // ---- Deployment quantities (decoded; read by the reader and the converters).
    int m_nType = 0;
    double m_dFrequency = 2000000.0;  // Hz
    int m_bOption1 = 0;
    int m_bOption2 = 0;
    int m_bOption3 = 0;
    int m_bDecoded = 0;
    int m_bFromTiming = 0;
    std::uint16_t m_nRateDivisor = 60;  // user 16; the averaging interval of types 0, 2 to 5
    double m_dSampleRate = 0.0;         // Hz
    int m_nRateIndex = 0;
    std::uint16_t m_nRangeSetting = 0;
    int m_nRangeIndex = 0;
    int m_bBurst = 0;
    std::uint16_t m_nBurstSamples = 0;
    double m_dSoundSpeed = 1500.0;  // m/s
    double m_dSalinity = 0.0;       // ppt
    int m_bStartOnSync = 0;
    int m_bSampleOnSync = 0;
    std::int16_t m_nBeams = 3;
    std::int16_t m_nCells = 1;
    int m_bWave = 0;

    // ---- Checked and adjusted by the validation.
    std::uint16_t m_nInterval = 600;       // user 38, measurement interval in seconds
    std::uint16_t m_nInterval2 = 1;        // user 30, never longer than m_nInterval once validated
    std::int32_t m_nWaveInterval = 10800;  // user 54, seconds between wave bursts
    std::uint16_t m_nWaveSamples = 0;      // user 446, samples per wave burst
    int m_bWaveRateFlag = 0;
    int m_bWaveMargin = 0;  // the longer margin after a wave burst
    int m_bIntervalRule1 = 0;
    int m_bExtraTimeOption = 0;      // adds m_nExtraTime to the first interval rule
    std::uint16_t m_nExtraTime = 1;  // user 62, seconds
    int m_bIntervalRule2 = 0;
    int m_bIntervalRule3 = 0;
    int m_nAnalogA = 0;
    int m_nAnalogB = 0;
    int m_bTimingBit10 = 0;  // when clear, a type 6 instrument always starts on synchronisation

    // ---- Further settings the encode writes back, named after the user record field or bit
    // they come from; for the planning default they are those of the default user record.
    std::int16_t m_nWord4 = 75;
    std::int16_t m_nWord6 = 35;
    std::int16_t m_nWord8 = 75;  // also written as the raw cell size
    std::int16_t m_nWord10 = 1000;
    std::int16_t m_nWord12 = 512;
    std::uint16_t m_nWord14 = 5;
    int m_nTimingCode5 = 0;  // timing control bits 5-6
    int m_bTimingBit1 = 0;
    int m_bTimingBit3Inverted = 1;
    std::int16_t m_nCoordinateSystem = 1;
    std::int16_t m_nWord46 = 1;
    int m_bModeBit0 = 0;
    int m_bModeBit8 = 0;
    std::int16_t m_nWord64 = 1;
    std::int16_t m_nWord66 = 20;
    int m_bSecondModeBit2 = 0;
    int m_bSecondModeBit10 = 0;
    int m_bSecondModeBit11 = 0;
    int m_bSecondModeBit15 = 0;  // type 2: at most three beams
    std::int16_t m_nWord380 = 0;
    std::int16_t m_nWord382 = 0;
    std::int16_t m_nWord458 = 0;
    std::int16_t m_nWord462 = 0;
    double m_dSetting374 = 30.0;
    std::string m_strName;
    std::string m_strComment;
    // The time of construction for the planning default; NaN when the record's start clock
    // holds no valid time, which encodes as the invalid clock again.
    double m_dStartTime;

  private:
    void DecodeSampling(const CInsConf& conf);
    void DecodeValidationMembers(const CInsConf& conf);
    void DecodeSettings(const CInsConf& conf);
    void UpdateFromTiming();
    int ValidateTarsis();
    void ValidateCorvane();
    void ValidateWaveIntervals(CUserInterface* pUi);
    void ValidatePeloraIntervals(CUserInterface* pUi);
};

}  // namespace sulvan
