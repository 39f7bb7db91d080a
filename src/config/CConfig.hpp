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

// The last finding of a validation, shared by every deployment object of the process.
extern int g_nConfigError;
extern std::string g_strConfigError;

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
    std::uint16_t m_nRateDivisor = 0;  // user 16; the averaging interval of types 0, 2 to 5
    double m_dSampleRate = 0.0;        // Hz
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
};

}  // namespace sulvan
