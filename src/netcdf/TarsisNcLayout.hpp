#pragma once
// The dimensions and variables of a Tarsis recording in netCDF: the velocity samples along
// `time` (velocity in the recording's coordinate system, amplitude, correlation, pressure,
// analog input, burst and sample numbers, quality flag), the system samples along `time_sys`
// (attitude, temperature, sound speed, battery), and the instrument with its head's
// transformation matrix and, when known, its position.

#include <cstddef>
#include <vector>

#include "netcdf/NcLayoutBuilder.hpp"

namespace sulvan {

struct STarsisNcVariables {
    SNcVariable time;
    SNcVariable beam;
    // Three components (east, north, up or x, y, z), or beam_velocity(beam, time) alone.
    std::vector<SNcVariable> velocity;
    SNcVariable amplitude;    // (beam, time)
    SNcVariable correlation;  // (beam, time)
    SNcVariable pressure;
    SNcVariable analogInput1;
    SNcVariable burst;
    SNcVariable sampleInBurst;
    SNcVariable qualityFlag;

    SNcVariable timeSys;
    SNcStateVariables state;  // along time_sys
    SNcVariable qualityFlagSys;

    SNcInstrumentVariables instrument;
    SNcPositionVariables position;

    bool BeamVelocity() const { return velocity.size() == 1; }
};

// Defines everything in define mode.
STarsisNcVariables DefineTarsisVariables(CNcFile& file, const SReaderNcShape& shape);

}  // namespace sulvan
