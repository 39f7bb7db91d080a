#pragma once
// The global attributes of a converted netCDF file: the conventions, the ACDD discovery
// attributes, where the data came from, the deployment and the damage the walk passed over.
// The metadata file may give the attributes a user knows better (title, summary, ...) but
// none that the converter writes from the recording or the conventions.

#include <cstdint>
#include <string>
#include <vector>

#include "format/CRecordWalk.hpp"
#include "netcdf/CNcFile.hpp"
#include "netcdf/NcMetadata.hpp"

namespace sulvan {

// What the converter knows of a recording before walking it.
struct SNcRecordingFacts {
    std::string strInputName;
    std::uint64_t nInputSize = 0;
    std::string strCommandLine;
    std::string strInstrument;  // type, serial numbers, firmware
    // Used unless the metadata give them.
    std::string strTitle;
    std::string strSummary;
    std::string strId;
    std::string strComment;
    // The deployment settings the conversion used, named as the settings below.
    std::vector<SNcAttribute> settings;
};

// The names of the deployment settings.
namespace NcSetting {
inline constexpr const char* DeploymentName = "deployment_name";
inline constexpr const char* DeploymentComment = "deployment_comment";
inline constexpr const char* SamplingRate = "sampling_rate_hz";
inline constexpr const char* BurstMode = "burst_mode";
inline constexpr const char* SamplesPerBurst = "samples_per_burst";
inline constexpr const char* SoundSpeed = "sound_speed_m_s";
inline constexpr const char* Salinity = "salinity_ppt";
inline constexpr const char* CoordinateSystem = "coordinate_system";
inline constexpr const char* MeasurementInterval = "measurement_interval_s";
inline constexpr const char* AveragingInterval = "averaging_interval_s";
inline constexpr const char* WaveMode = "wave_mode";
inline constexpr const char* BaudRate = "baud_rate";
inline constexpr const char* Temperature = "temperature_deg_c";
inline constexpr const char* TemperatureMeasured = "temperature_measured";
inline constexpr const char* SoundSpeedMeasured = "sound_speed_measured";
inline constexpr const char* ProbeConfiguration = "probe_configuration";
inline constexpr const char* SamplesTotal = "samples_total";
inline constexpr const char* SamplesMissing = "samples_missing";
}  // namespace NcSetting

// The times the file covers, in seconds since the date-time value dEpoch.
struct SNcCoverage {
    double dEpoch = 0.0;
    double dFirst = 0.0;
    double dLast = 0.0;
    double dResolution = 0.0;  // the sampling interval
};

// What the walk could not turn into samples.
struct SNcDamage {
    SDamageReport walk;
    std::uint64_t nSamplesBeforeFirstTime = 0;
    std::uint64_t nSystemSamplesWithoutTime = 0;
};

// Why a metadata attribute cannot be taken, naming it; empty when it can.
std::string DescribeMetadataConflict(const SNcAttribute& attribute);

// Everything known before the walk.
void WriteOpeningGlobals(CNcFile& file, const SNcRecordingFacts& facts,
                         const SNcMetadata& metadata);
// What the walk found; written after it.
void WriteClosingGlobals(CNcFile& file, const SNcCoverage& coverage, const SNcDamage& damage);
// The times the file covers, alone.
void WriteTimeCoverage(CNcFile& file, const SNcCoverage& coverage);

}  // namespace sulvan
