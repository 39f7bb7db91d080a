#pragma once
// The dimensions and variables of a Corvane recording in netCDF, one time series per probe:
// along `sample` (the sample number) the time, each probe's own time stamp, velocity,
// amplitude and correlation per beam, a quality flag per probe and the time marks; along
// `probe` the probe configuration; and where the probes stood, when known.

#include <array>
#include <cstddef>
#include <cstdint>

#include "netcdf/NcLayoutBuilder.hpp"

namespace sulvan {

struct SCorvaneNcShape {
    std::size_t nProbes = 1;
    std::size_t nBeams = 3;
    double dVelocityScale = 0.001;
    int nDeflateLevel = 1;
    std::size_t nChunkLength = kNcChunkLength;  // samples per chunk and per block
    // The position: none, one for the array (scalar coordinates) or one per probe.
    enum class EPosition { None, Array, PerProbe } position = EPosition::None;
    bool bDepth = false;
};

struct SCorvaneNcVariables {
    SNcVariable sample;
    SNcVariable probe;
    SNcVariable beam;
    SNcVariable time;            // (sample)
    SNcVariable probeTime;       // (sample, probe)
    SNcVariable velocity;        // (sample, probe, beam)
    SNcVariable amplitude;       // (sample, probe, beam)
    SNcVariable correlation;     // (sample, probe, beam)
    SNcVariable qualityFlag;     // (sample, probe)
    SNcVariable timeMarks;       // (sample)
    SNcVariable serialNumber;    // (probe), the time series' ids
    SNcVariable port;            // (probe)
    SNcVariable velocityRange;   // (probe)
    SNcVariable samplingVolume;  // (probe)
    SNcVariable transmitLength;  // (probe)
    SNcVariable coordinateSystem;
    SNcVariable syncMaster;
    SNcVariable startOnSync;
    SNcVariable sampleOnSync;
    SNcVariable latitude;  // scalar or (probe)
    SNcVariable longitude;
    SNcVariable depth;
};

// The flags of a probe's slot of a sample.
namespace CorvaneFlag {
// The sample's time is not the earliest of its stamps (none was usable, or it was not later
// than the time before).
inline constexpr std::int8_t TimeAdjusted = 1;
// The probe took the sample number with a record that holds no sample (0x81, 0x91, or a
// velocity record stamped before 1900 or unreadable).
inline constexpr std::int8_t RecordWithoutSample = 2;
// The probe has no sample here: its values are the fill values.
inline constexpr std::int8_t Missing = 4;
}  // namespace CorvaneFlag

// Amplitude and correlation counts of a missing sample.
inline constexpr std::int16_t kCountFill = -1;
// Times without a stamp and positions not given (the library's default fill of doubles).
inline constexpr double kDoubleFill = 9.969209968386869e36;

// Samples per chunk for nProbes probes: chunks of about the same size whatever the probes, a
// power of two samples long.
std::size_t CorvaneChunkLength(std::size_t nProbes);

// Defines everything in define mode.
SCorvaneNcVariables DefineCorvaneVariables(CNcFile& file, const SCorvaneNcShape& shape);

}  // namespace sulvan
