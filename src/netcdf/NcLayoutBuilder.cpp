#include "netcdf/NcLayoutBuilder.hpp"

#include <utility>

namespace sulvan {
namespace {

constexpr int kEarth = 0;
constexpr int kInstrument = 1;
constexpr int kBeam = 2;
constexpr std::size_t kMatrixSize = 3;

struct SComponent {
    const char* pName;
    SNcDescription description;
};

constexpr std::array<SComponent, 3> kEarthComponents = {{
    {"east_velocity",
     {"eastward sea water velocity", "m s-1", "eastward_sea_water_velocity",
      "physicalMeasurement"}},
    {"north_velocity",
     {"northward sea water velocity", "m s-1", "northward_sea_water_velocity",
      "physicalMeasurement"}},
    {"up_velocity",
     {"upward sea water velocity", "m s-1", "upward_sea_water_velocity", "physicalMeasurement"}},
}};
constexpr std::array<SComponent, 3> kInstrumentComponents = {{
    {"x_velocity",
     {"sea water velocity along the instrument's x axis", "m s-1", "", "physicalMeasurement"}},
    {"y_velocity",
     {"sea water velocity along the instrument's y axis", "m s-1", "", "physicalMeasurement"}},
    {"z_velocity",
     {"sea water velocity along the instrument's z axis", "m s-1", "", "physicalMeasurement"}},
}};

}  // namespace

std::string CoordinateSystemName(int nCoordinateSystem) {
    switch (nCoordinateSystem) {
        case kEarth:
            return "earth";
        case kInstrument:
            return "instrument";
        case kBeam:
            return "beam";
        default:
            return "unknown (" + std::to_string(nCoordinateSystem) + ")";
    }
}

void CNcLayoutBuilder::Describe(SNcVariable variable, const SNcDescription& description) {
    const std::pair<const char*, const char*> attributes[] = {
        {"long_name", description.pLongName},
        {"units", description.pUnits},
        {"standard_name", description.pStandardName},
        {"coverage_content_type", description.pCoverage},
    };
    for (const auto& [pName, pValue] : attributes) {
        if (pValue != nullptr && *pValue != '\0') {
            m_file.PutAttribute(variable, pName, pValue);
        }
    }
}

void CNcLayoutBuilder::MarkUnsigned(SNcVariable variable) {
    m_file.PutAttribute(variable, "_Unsigned", "true");
}

SNcStorage CNcLayoutBuilder::Storage(std::span<const std::size_t> chunk) const {
    return {.chunk = chunk, .nDeflateLevel = m_nDeflateLevel, .bShuffle = true};
}

SNcVariable CNcLayoutBuilder::Chunked(std::string_view strName, ENcType type,
                                      std::span<const SNcDimension> dimensions,
                                      std::span<const std::size_t> chunk) {
    return m_file.DefineVariable(strName, type, dimensions, Storage(chunk));
}

SNcVariable CNcLayoutBuilder::Series(std::string_view strName, ENcType type,
                                     SNcDimension dimension) {
    const SNcDimension dimensions[] = {dimension};
    const std::size_t chunk[] = {m_nChunkLength};
    return Chunked(strName, type, dimensions, chunk);
}

SNcVariable CNcLayoutBuilder::BeamSeries(std::string_view strName, ENcType type, SNcDimension beam,
                                         SNcDimension dimension) {
    const SNcDimension dimensions[] = {beam, dimension};
    const std::size_t chunk[] = {1, m_nChunkLength};
    return Chunked(strName, type, dimensions, chunk);
}

SNcVariable CNcLayoutBuilder::Fixed(std::string_view strName, ENcType type,
                                    std::span<const SNcDimension> dimensions) {
    return m_file.DefineVariable(strName, type, dimensions);
}

void CNcLayoutBuilder::DescribeTime(SNcVariable variable, const char* pLongName,
                                    const char* pFlags) {
    Describe(variable, {pLongName, "", "time", "coordinate"});
    m_file.PutAttribute(variable, "calendar", "standard");
    m_file.PutAttribute(variable, "ancillary_variables", pFlags);
}

void CNcLayoutBuilder::DescribeFlags(SNcVariable variable, const char* pLongName,
                                     std::span<const std::int8_t> masks, const char* pMeanings) {
    Describe(variable, {pLongName, "", "quality_flag", "qualityInformation"});
    m_file.PutAttribute(variable, "flag_masks", masks);
    m_file.PutAttribute(variable, "flag_meanings", pMeanings);
}

std::vector<SNcVariable> CNcLayoutBuilder::DefineVelocity(int nCoordinateSystem, double dScale,
                                                          SNcDimension beam, SNcDimension dimension,
                                                          std::string_view strSuffix) {
    std::vector<SNcVariable> velocity;
    if (nCoordinateSystem == kEarth || nCoordinateSystem == kInstrument) {
        for (const SComponent& component :
             nCoordinateSystem == kEarth ? kEarthComponents : kInstrumentComponents) {
            const SNcVariable variable = Series(
                std::string(component.pName) + std::string(strSuffix), ENcType::Short, dimension);
            Describe(variable, component.description);
            velocity.push_back(variable);
        }
    } else {
        const SNcVariable variable =
            BeamSeries("beam_velocity" + std::string(strSuffix), ENcType::Short, beam, dimension);
        Describe(
            variable,
            {"sea water velocity along the beam, away from the instrument", "m s-1",
             nCoordinateSystem == kBeam ? "radial_sea_water_velocity_away_from_instrument" : "",
             "physicalMeasurement"});
        if (nCoordinateSystem != kBeam) {
            m_file.PutAttribute(variable, "coordinate_system",
                                CoordinateSystemName(nCoordinateSystem));
        }
        velocity.push_back(variable);
    }
    for (SNcVariable variable : velocity) {
        m_file.PutAttribute(variable, "scale_factor", dScale);
        m_file.DefineFill(variable, kVelocityFill);
    }
    return velocity;
}

SNcVariable CNcLayoutBuilder::DefineAmplitude(std::string_view strName, SNcDimension beam,
                                              SNcDimension dimension) {
    const SNcVariable variable = BeamSeries(strName, ENcType::Byte, beam, dimension);
    Describe(variable,
             {"signal amplitude, recorded counts", "1",
              "signal_intensity_from_multibeam_acoustic_doppler_velocity_sensor_in_sea_water",
              "physicalMeasurement"});
    MarkUnsigned(variable);
    return variable;
}

SNcVariable CNcLayoutBuilder::DefineCorrelation(std::string_view strName, SNcDimension beam,
                                                SNcDimension dimension) {
    const SNcVariable variable = BeamSeries(strName, ENcType::Byte, beam, dimension);
    Describe(variable,
             {"correlation, recorded counts", "1",
              "beam_consistency_indicator_from_multibeam_acoustic_doppler_velocity_profiler_"
              "in_sea_water",
              "physicalMeasurement"});
    MarkUnsigned(variable);
    return variable;
}

SNcVariable CNcLayoutBuilder::DefinePressure(std::string_view strName, SNcDimension dimension) {
    const SNcVariable variable = Series(strName, ENcType::Int, dimension);
    Describe(variable, {"pressure, recorded counts", "1", "", "physicalMeasurement"});
    return variable;
}

SNcVariable CNcLayoutBuilder::DefineAnalogInput1(std::string_view strName, SNcDimension dimension) {
    const SNcVariable variable = Series(strName, ENcType::Short, dimension);
    MarkUnsigned(variable);
    Describe(variable, {"analog input 1, recorded counts", "1", "", "physicalMeasurement"});
    return variable;
}

SNcStateVariables CNcLayoutBuilder::DefineState(SNcDimension dimension) {
    SNcStateVariables v;
    struct SPacked {
        SNcVariable* pVariable;
        const char* pName;
        double dScale;
        SNcDescription description;
        bool bUnsigned = false;
    };
    const SPacked packed[] = {
        {&v.heading,
         "heading",
         0.1,
         {"heading", "degree", "platform_orientation", "physicalMeasurement"}},
        {&v.pitch, "pitch", 0.1, {"pitch", "degree", "platform_pitch", "physicalMeasurement"}},
        {&v.roll, "roll", 0.1, {"roll", "degree", "platform_roll", "physicalMeasurement"}},
        {&v.temperature,
         "temperature",
         0.01,
         {"sea water temperature", "degree_C", "sea_water_temperature", "physicalMeasurement"}},
        {&v.soundSpeed,
         "sound_speed",
         0.1,
         {"speed of sound in sea water", "m s-1", "speed_of_sound_in_sea_water",
          "physicalMeasurement"},
         true},
        {&v.battery,
         "battery",
         0.0,
         {"battery, recorded counts", "1", "", "auxiliaryInformation"},
         true},
    };
    for (const SPacked& item : packed) {
        *item.pVariable = Series(item.pName, ENcType::Short, dimension);
        Describe(*item.pVariable, item.description);
        if (item.bUnsigned) {
            MarkUnsigned(*item.pVariable);
        }
        if (item.dScale != 0.0) {
            m_file.PutAttribute(*item.pVariable, "scale_factor", item.dScale);
        }
    }
    return v;
}

SNcInstrumentVariables CNcLayoutBuilder::DefineInstrument() {
    SNcInstrumentVariables v;
    v.instrument = m_file.DefineVariable("instrument", ENcType::String, {});
    Describe(v.instrument, {"instrument serial number", "", "", "referenceInformation"});
    m_file.PutAttribute(v.instrument, "cf_role", "timeseries_id");
    const SNcDimension rows = m_file.DefineDimension("matrix_row", kMatrixSize);
    const SNcDimension columns = m_file.DefineDimension("matrix_column", kMatrixSize);
    const SNcDimension matrixDimensions[] = {rows, columns};
    v.transformationMatrix = Fixed("transformation_matrix", ENcType::Double, matrixDimensions);
    Describe(v.transformationMatrix,
             {"transformation matrix of the head, as configured (beam to instrument "
              "coordinates)",
              "1", "", "referenceInformation"});
    return v;
}

SNcPositionVariables CNcLayoutBuilder::DefineScalarPosition(bool bPosition, bool bDepth) {
    SNcPositionVariables v;
    if (!bPosition) {
        return v;
    }
    v.latitude = m_file.DefineVariable("latitude", ENcType::Double, {});
    Describe(v.latitude, {"latitude", "degrees_north", "latitude", "coordinate"});
    m_file.PutAttribute(v.latitude, "axis", "Y");
    v.longitude = m_file.DefineVariable("longitude", ENcType::Double, {});
    Describe(v.longitude, {"longitude", "degrees_east", "longitude", "coordinate"});
    m_file.PutAttribute(v.longitude, "axis", "X");
    v.strCoordinates = " latitude longitude";
    if (bDepth) {
        v.depth = m_file.DefineVariable("depth", ENcType::Double, {});
        Describe(v.depth, {"depth of the instrument", "m", "depth", "coordinate"});
        m_file.PutAttribute(v.depth, "positive", "down");
        m_file.PutAttribute(v.depth, "axis", "Z");
        v.strCoordinates += " depth";
    }
    return v;
}

}  // namespace sulvan
