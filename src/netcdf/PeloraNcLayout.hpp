#pragma once
// The dimensions and variables of a Pelora recording in netCDF: the current records along
// `time` (velocity in the recording's coordinate system, amplitude, pressure, analog input,
// attitude, temperature, sound speed, battery, quality flag), the wave samples along
// `time_wave` (burst number, velocity, amplitude, pressure, analog input, quality flag), and the
// instrument with its head's transformation matrix and, when known, its position.

#include <cstddef>
#include <vector>

#include "netcdf/NcLayoutBuilder.hpp"

namespace sulvan {

// The variables of the velocity records of one kind: current records or wave samples.
struct SPeloraNcSeries {
    SNcVariable time;
    std::vector<SNcVariable> velocity;  // three components, or beam_velocity(beam, ...) alone
    SNcVariable amplitude;              // (beam, ...)
    SNcVariable pressure;
    SNcVariable analogInput1;
    SNcVariable qualityFlag;

    bool BeamVelocity() const { return velocity.size() == 1; }
};

struct SPeloraNcVariables {
    SNcVariable beam;
    SPeloraNcSeries current;
    SNcStateVariables state;  // along time
    SPeloraNcSeries wave;
    SNcVariable burstWave;
    SNcInstrumentVariables instrument;
    SNcPositionVariables position;
};

// How a wave sample's time is found, for the README and time_wave's comment.
inline constexpr const char* kWaveTimeRule =
    "The clocks of a burst's wave samples count whole seconds. The spacing of the samples is the "
    "seconds from the first sample showing a new second to the first sample showing the burst's "
    "last second, over the samples between them; a sample k places after (or before) the first "
    "one showing a new second lies k spacings after (before) that second. A burst whose clocks "
    "show fewer than three seconds keeps the spacing of the burst before (1 s for the first), "
    "counted from its first clock, and its samples are flagged as adjusted.";

// Defines everything in define mode.
SPeloraNcVariables DefinePeloraVariables(CNcFile& file, const SReaderNcShape& shape);

}  // namespace sulvan
