#include "netcdf/TarsisNcLayout.hpp"

namespace sulvan {

STarsisNcVariables DefineTarsisVariables(CNcFile& file, const SReaderNcShape& shape) {
    CNcLayoutBuilder builder(file, shape.nDeflateLevel, shape.nChunkLength);
    STarsisNcVariables v;
    const SNcDimension time = file.DefineDimension("time", CNcFile::kUnlimited);
    const SNcDimension beam = file.DefineDimension("beam", static_cast<std::size_t>(shape.nBeams));
    const SNcDimension timeSys = file.DefineDimension("time_sys", CNcFile::kUnlimited);
    v.position = builder.DefineScalarPosition(shape.bPosition, shape.bDepth);

    v.time = builder.Series("time", ENcType::Double, time);
    builder.DescribeTime(v.time, "time of the velocity sample", "quality_flag");
    file.PutAttribute(v.time, "axis", "T");
    const SNcDimension beamDimensions[] = {beam};
    v.beam = builder.Fixed("beam", ENcType::Int, beamDimensions);
    builder.Describe(v.beam, {"beam number", "1", "", "coordinate"});
    v.velocity =
        builder.DefineVelocity(shape.nCoordinateSystem, shape.dVelocityScale, beam, time, "");
    v.amplitude = builder.DefineAmplitude("amplitude", beam, time);
    v.correlation = builder.DefineCorrelation("correlation", beam, time);
    v.pressure = builder.DefinePressure("pressure", time);
    v.analogInput1 = builder.DefineAnalogInput1("analog_input_1", time);
    std::vector<SNcVariable> data = v.velocity;
    data.insert(data.end(), {v.amplitude, v.correlation, v.pressure, v.analogInput1});
    for (SNcVariable variable : data) {
        file.PutAttribute(variable, "coordinates",
                          "burst sample_in_burst" + v.position.strCoordinates);
        file.PutAttribute(variable, "ancillary_variables", "quality_flag");
    }
    v.burst = builder.Series("burst", ENcType::Int, time);
    builder.Describe(v.burst,
                     {"burst number, from 1; 0 in a continuous recording", "1", "", "coordinate"});
    v.sampleInBurst = builder.Series("sample_in_burst", ENcType::Int, time);
    builder.Describe(v.sampleInBurst,
                     {"sample number from 0 since the burst's header, or in a continuous "
                      "recording since the latest system sample",
                      "1", "", "coordinate"});
    v.qualityFlag = builder.Series("quality_flag", ENcType::Byte, time);
    builder.DescribeFlags(v.qualityFlag, "quality of the velocity sample's time", kTimeFlagMasks,
                          kTimeFlagMeanings);

    v.timeSys = builder.Series("time_sys", ENcType::Double, timeSys);
    builder.DescribeTime(v.timeSys, "time of the system sample", "quality_flag_sys");
    v.state = builder.DefineState(timeSys);
    const SNcStateVariables& s = v.state;
    for (SNcVariable variable :
         {s.heading, s.pitch, s.roll, s.temperature, s.soundSpeed, s.battery}) {
        if (!v.position.strCoordinates.empty()) {
            file.PutAttribute(variable, "coordinates", v.position.strCoordinates.substr(1));
        }
        file.PutAttribute(variable, "ancillary_variables", "quality_flag_sys");
    }
    v.qualityFlagSys = builder.Series("quality_flag_sys", ENcType::Byte, timeSys);
    builder.DescribeFlags(v.qualityFlagSys, "quality of the system sample's time", kTimeFlagMasks,
                          kTimeFlagMeanings);
    v.instrument = builder.DefineInstrument();
    return v;
}

}  // namespace sulvan
