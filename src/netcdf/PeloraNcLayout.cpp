#include "netcdf/PeloraNcLayout.hpp"

#include <string>

namespace sulvan {
namespace {

// The variables of one kind of velocity record along dimension, their names followed by
// strSuffix.
SPeloraNcSeries DefineSeries(CNcLayoutBuilder& builder, const SReaderNcShape& shape,
                             SNcDimension beam, SNcDimension dimension,
                             const std::string& strSuffix, const std::string& strCoordinates) {
    CNcFile& file = builder.File();
    SPeloraNcSeries v;
    const std::string strFlags = "quality_flag" + strSuffix;
    v.velocity = builder.DefineVelocity(shape.nCoordinateSystem, shape.dVelocityScale, beam,
                                        dimension, strSuffix);
    v.amplitude = builder.DefineAmplitude("amplitude" + strSuffix, beam, dimension);
    v.pressure = builder.DefinePressure("pressure" + strSuffix, dimension);
    v.analogInput1 = builder.DefineAnalogInput1("analog_input_1" + strSuffix, dimension);
    std::vector<SNcVariable> data = v.velocity;
    data.insert(data.end(), {v.amplitude, v.pressure, v.analogInput1});
    for (SNcVariable variable : data) {
        if (!strCoordinates.empty()) {
            file.PutAttribute(variable, "coordinates", strCoordinates);
        }
        file.PutAttribute(variable, "ancillary_variables", strFlags);
    }
    return v;
}

}  // namespace

SPeloraNcVariables DefinePeloraVariables(CNcFile& file, const SReaderNcShape& shape) {
    CNcLayoutBuilder builder(file, shape.nDeflateLevel, shape.nChunkLength);
    SPeloraNcVariables v;
    const SNcDimension time = file.DefineDimension("time", CNcFile::kUnlimited);
    const SNcDimension beam = file.DefineDimension("beam", static_cast<std::size_t>(shape.nBeams));
    const SNcDimension timeWave = file.DefineDimension("time_wave", CNcFile::kUnlimited);
    v.position = builder.DefineScalarPosition(shape.bPosition, shape.bDepth);
    const std::string strPosition =
        v.position.strCoordinates.empty() ? "" : v.position.strCoordinates.substr(1);

    const SNcVariable currentTime = builder.Series("time", ENcType::Double, time);
    builder.DescribeTime(currentTime, "time of the current record", "quality_flag");
    file.PutAttribute(currentTime, "axis", "T");
    const SNcDimension beamDimensions[] = {beam};
    v.beam = builder.Fixed("beam", ENcType::Int, beamDimensions);
    builder.Describe(v.beam, {"beam number", "1", "", "coordinate"});
    v.current = DefineSeries(builder, shape, beam, time, "", strPosition);
    v.current.time = currentTime;
    v.state = builder.DefineState(time);
    const SNcStateVariables& s = v.state;
    for (SNcVariable variable :
         {s.heading, s.pitch, s.roll, s.temperature, s.soundSpeed, s.battery}) {
        if (!strPosition.empty()) {
            file.PutAttribute(variable, "coordinates", strPosition);
        }
        file.PutAttribute(variable, "ancillary_variables", "quality_flag");
    }
    v.current.qualityFlag = builder.Series("quality_flag", ENcType::Byte, time);
    builder.DescribeFlags(v.current.qualityFlag, "quality of the current record's time",
                          kTimeFlagMasks, kTimeFlagMeanings);

    const SNcVariable timeWaveVariable = builder.Series("time_wave", ENcType::Double, timeWave);
    builder.DescribeTime(timeWaveVariable, "time of the wave sample", "quality_flag_wave");
    file.PutAttribute(timeWaveVariable, "comment", kWaveTimeRule);
    v.burstWave = builder.Series("burst_wave", ENcType::Int, timeWave);
    builder.Describe(v.burstWave, {"wave burst number, from 1", "1", "", "coordinate"});
    v.wave = DefineSeries(builder, shape, beam, timeWave, "_wave",
                          "burst_wave" + v.position.strCoordinates);
    v.wave.time = timeWaveVariable;
    v.wave.qualityFlag = builder.Series("quality_flag_wave", ENcType::Byte, timeWave);
    builder.DescribeFlags(v.wave.qualityFlag, "quality of the wave sample's time", kTimeFlagMasks,
                          kTimeFlagMeanings);
    v.instrument = builder.DefineInstrument();
    return v;
}

}  // namespace sulvan
