#pragma once
// What a recording holds, found without converting it or asking anything: its family and
// configuration, the deployment the converters would use, its first and last times, how many
// records of each kind it has and how much of it is damaged. One pass over the file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "format/CRecordWalk.hpp"
#include "xml/MiraveloConfig.hpp"

namespace sulvan {

// The deployment figures the converters read.
struct SDeploymentInfo {
    int nInstrumentType = 0;
    double dSampleRate = 0.0;  // Hz
    int nRateIndex = 0;
    int nRangeIndex = 0;
    bool bBurst = false;
    int nBurstSamples = 0;
    bool bStartOnSync = false;
    bool bSampleOnSync = false;
    double dSoundSpeed = 0.0;  // m/s
    double dSalinity = 0.0;    // ppt
    int nBeams = 0;
    int nCells = 0;
    bool bWave = false;
};

// A recording of the record framing (.trs, .pld, ...).
struct SFramedInfo {
    bool bHardwareValid = false;
    bool bHeadValid = false;
    bool bUserValid = false;
    // A configuration record was found away from its standard place.
    bool bRawDump = false;
    std::string strHardwareSerial;
    std::string strHeadSerial;
    std::string strFirmware;
    bool bNeedsBurstHeaderRepair = false;
    SDeploymentInfo deployment;
    std::optional<double> firstTime;  // date-time values
    std::optional<double> lastTime;
    std::array<std::uint64_t, 256> recordCounts{};  // intact records per identifier
    std::uint64_t nBursts = 0;  // velocity sample headers, and runs of Pelora wave samples
    SDamageReport damage;
};

// A Corvane multi-probe recording (.mrv).
struct SCorvaneInfo {
    MiraveloConfig config;
    std::vector<std::uint64_t> samplesPerProbe;     // velocity records of each configured probe
    std::array<std::uint64_t, 256> recordCounts{};  // chunks per record identifier
    std::uint64_t nChunks = 0;
    std::uint64_t nLateStamps = 0;  // chunks stamped after 2999-12-31
    std::uint64_t nStartTimeStamp = 0;
    // Where the chunks ended before the end of the file (damage), if they did.
    std::optional<std::uint64_t> dataEndsAt;
};

struct SRecordingInfo {
    std::string strPath;
    std::uint64_t nSize = 0;
    std::optional<int> family;  // from the file name
    // Why the file could not be inspected; empty when it could.
    std::string strError;
    std::optional<SFramedInfo> framed;
    std::optional<SCorvaneInfo> corvane;
};

class CRecordingObserver;

// pObserver, when given, is shown the records of the pass as the inspection meets them.
SRecordingInfo InspectRecording(const std::string& strPath,
                                CRecordingObserver* pObserver = nullptr);

}  // namespace sulvan
