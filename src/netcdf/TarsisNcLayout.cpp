#include "netcdf/TarsisNcLayout.hpp"

#include <array>

namespace sulvan {
namespace {

constexpr int kEarth = 0;
constexpr int kInstrument = 1;
constexpr int kBeam = 2;
constexpr std::size_t kMatrixSize = 3;

constexpr const char* kFlagMeanings = "time_adjusted_to_increase damaged_bytes_before_sample";
constexpr std::array<std::int8_t, 2> kFlagMasks = {1, 2};

// What a variable means; empty texts are left out.
struct SDescription {
    const char* pLongName;
    const char* pUnits;
    const char* pStandardName;
    const char* pCoverage;  // ACDD coverage_content_type
};

void Describe(CNcFile& file, SNcVariable variable, const SDescription& description) {
    const std::pair<const char*, const char*> attributes[] = {
        {"long_name", description.pLongName},
        {"units", description.pUnits},
        {"standard_name", description.pStandardName},
        {"coverage_content_type", description.pCoverage},
    };
    for (const auto& [pName, pValue] : attributes) {
        if (pValue != nullptr && *pValue != '\0') {
            file.PutAttribute(variable, pName, pValue);
        }
    }
}

struct SComponent {
    const char* pName;
    SDescription description;
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

// Defines the variables of one unlimited dimension with a shared storage.
class CLayoutBuilder {
  public:
    CLayoutBuilder(CNcFile& file, const STarsisNcShape& shape)
        : m_file(file),
          m_shape(shape),
          m_sampleChunk{shape.nChunkLength},
          m_beamChunk{1, shape.nChunkLength} {}

    STarsisNcVariables Build() {
        m_time = m_file.DefineDimension("time", CNcFile::kUnlimited);
        m_beamDimension = m_file.DefineDimension("beam", static_cast<std::size_t>(m_shape.nBeams));
        m_timeSys = m_file.DefineDimension("time_sys", CNcFile::kUnlimited);
        DefinePosition();
        DefineSamples();
        DefineSystemSamples();
        DefineInstrument();
        return m_variables;
    }

  private:
    SNcVariable Series(const char* pName, ENcType type, SNcDimension dimension) {
        const SNcDimension dimensions[] = {dimension};
        return m_file.DefineVariable(pName, type, dimensions, Storage(m_sampleChunk));
    }

    SNcVariable BeamSeries(const char* pName, ENcType type) {
        const SNcDimension dimensions[] = {m_beamDimension, m_time};
        return m_file.DefineVariable(pName, type, dimensions, Storage(m_beamChunk));
    }

    // Unsigned counts in the signed type of their width: CF-1.8 knows no unsigned types, and
    // readers take the values as unsigned by this attribute.
    void MarkUnsigned(SNcVariable variable) { m_file.PutAttribute(variable, "_Unsigned", "true"); }

    SNcStorage Storage(std::span<const std::size_t> chunk) const {
        return {.chunk = chunk, .nDeflateLevel = m_shape.nDeflateLevel, .bShuffle = true};
    }

    void DefineTime(SNcVariable variable, const char* pLongName, const char* pFlags) {
        Describe(m_file, variable, {pLongName, "", "time", "coordinate"});
        m_file.PutAttribute(variable, "calendar", "standard");
        m_file.PutAttribute(variable, "ancillary_variables", pFlags);
    }

    void DefineFlags(SNcVariable variable, const char* pLongName) {
        Describe(m_file, variable, {pLongName, "", "quality_flag", "qualityInformation"});
        m_file.PutAttribute(variable, "flag_masks", std::span<const std::int8_t>(kFlagMasks));
        m_file.PutAttribute(variable, "flag_meanings", kFlagMeanings);
    }

    // Data of the velocity samples: their auxiliary coordinates and the time flags.
    void MarkSampleData(SNcVariable variable) {
        m_file.PutAttribute(variable, "coordinates", "burst sample_in_burst" + m_strPosition);
        m_file.PutAttribute(variable, "ancillary_variables", "quality_flag");
    }

    void MarkSystemData(SNcVariable variable) {
        if (!m_strPosition.empty()) {
            m_file.PutAttribute(variable, "coordinates", m_strPosition.substr(1));
        }
        m_file.PutAttribute(variable, "ancillary_variables", "quality_flag_sys");
    }

    void DefineSamples() {
        STarsisNcVariables& v = m_variables;
        v.time = Series("time", ENcType::Double, m_time);
        DefineTime(v.time, "time of the velocity sample", "quality_flag");
        m_file.PutAttribute(v.time, "axis", "T");
        const SNcDimension beamDimensions[] = {m_beamDimension};
        v.beam = m_file.DefineVariable("beam", ENcType::Int, beamDimensions);
        Describe(m_file, v.beam, {"beam number", "1", "", "coordinate"});
        DefineVelocity();
        v.amplitude = BeamSeries("amplitude", ENcType::Byte);
        Describe(m_file, v.amplitude,
                 {"signal amplitude, recorded counts", "1",
                  "signal_intensity_from_multibeam_acoustic_doppler_velocity_sensor_in_sea_water",
                  "physicalMeasurement"});
        v.correlation = BeamSeries("correlation", ENcType::Byte);
        Describe(m_file, v.correlation,
                 {"correlation, recorded counts", "1",
                  "beam_consistency_indicator_from_multibeam_acoustic_doppler_velocity_profiler_"
                  "in_sea_water",
                  "physicalMeasurement"});
        v.pressure = Series("pressure", ENcType::Int, m_time);
        Describe(m_file, v.pressure, {"pressure, recorded counts", "1", "", "physicalMeasurement"});
        v.analogInput1 = Series("analog_input_1", ENcType::Short, m_time);
        MarkUnsigned(v.analogInput1);
        Describe(m_file, v.analogInput1,
                 {"analog input 1, recorded counts", "1", "", "physicalMeasurement"});
        MarkUnsigned(v.amplitude);
        MarkUnsigned(v.correlation);
        for (SNcVariable data : {v.amplitude, v.correlation, v.pressure, v.analogInput1}) {
            MarkSampleData(data);
        }
        v.burst = Series("burst", ENcType::Int, m_time);
        Describe(m_file, v.burst,
                 {"burst number, from 1; 0 in a continuous recording", "1", "", "coordinate"});
        v.sampleInBurst = Series("sample_in_burst", ENcType::Int, m_time);
        Describe(m_file, v.sampleInBurst,
                 {"sample number from 0 since the burst's header, or in a continuous recording "
                  "since the latest system sample",
                  "1", "", "coordinate"});
        v.qualityFlag = Series("quality_flag", ENcType::Byte, m_time);
        DefineFlags(v.qualityFlag, "quality of the velocity sample's time");
    }

    void DefineVelocity() {
        const int nSystem = m_shape.nCoordinateSystem;
        if (nSystem == kEarth || nSystem == kInstrument) {
            for (const SComponent& component :
                 nSystem == kEarth ? kEarthComponents : kInstrumentComponents) {
                const SNcVariable variable = Series(component.pName, ENcType::Short, m_time);
                Describe(m_file, variable, component.description);
                m_variables.velocity.push_back(variable);
            }
        } else {
            const SNcVariable variable = BeamSeries("beam_velocity", ENcType::Short);
            Describe(m_file, variable,
                     {"sea water velocity along the beam, away from the instrument", "m s-1",
                      nSystem == kBeam ? "radial_sea_water_velocity_away_from_instrument" : "",
                      "physicalMeasurement"});
            if (nSystem != kBeam) {
                m_file.PutAttribute(variable, "coordinate_system", CoordinateSystemName(nSystem));
            }
            m_variables.velocity.push_back(variable);
        }
        for (SNcVariable variable : m_variables.velocity) {
            m_file.PutAttribute(variable, "scale_factor", m_shape.dVelocityScale);
            m_file.DefineFill(variable, kVelocityFill);
            MarkSampleData(variable);
        }
    }

    void DefineSystemSamples() {
        STarsisNcVariables& v = m_variables;
        v.timeSys = Series("time_sys", ENcType::Double, m_timeSys);
        DefineTime(v.timeSys, "time of the system sample", "quality_flag_sys");
        struct SPacked {
            SNcVariable* pVariable;
            const char* pName;
            ENcType type;
            double dScale;
            SDescription description;
            bool bUnsigned = false;
        };
        const SPacked packed[] = {
            {&v.heading,
             "heading",
             ENcType::Short,
             0.1,
             {"heading", "degree", "platform_orientation", "physicalMeasurement"}},
            {&v.pitch,
             "pitch",
             ENcType::Short,
             0.1,
             {"pitch", "degree", "platform_pitch", "physicalMeasurement"}},
            {&v.roll,
             "roll",
             ENcType::Short,
             0.1,
             {"roll", "degree", "platform_roll", "physicalMeasurement"}},
            {&v.temperature,
             "temperature",
             ENcType::Short,
             0.01,
             {"sea water temperature", "degree_C", "sea_water_temperature", "physicalMeasurement"}},
            {&v.soundSpeed,
             "sound_speed",
             ENcType::Short,
             0.1,
             {"speed of sound in sea water", "m s-1", "speed_of_sound_in_sea_water",
              "physicalMeasurement"},
             true},
            {&v.battery,
             "battery",
             ENcType::Short,
             0.0,
             {"battery, recorded counts", "1", "", "auxiliaryInformation"},
             true},
        };
        for (const SPacked& item : packed) {
            *item.pVariable = Series(item.pName, item.type, m_timeSys);
            Describe(m_file, *item.pVariable, item.description);
            if (item.bUnsigned) {
                MarkUnsigned(*item.pVariable);
            }
            if (item.dScale != 0.0) {
                m_file.PutAttribute(*item.pVariable, "scale_factor", item.dScale);
            }
            MarkSystemData(*item.pVariable);
        }
        v.qualityFlagSys = Series("quality_flag_sys", ENcType::Byte, m_timeSys);
        DefineFlags(v.qualityFlagSys, "quality of the system sample's time");
    }

    void DefineInstrument() {
        STarsisNcVariables& v = m_variables;
        v.instrument = m_file.DefineVariable("instrument", ENcType::String, {});
        Describe(m_file, v.instrument,
                 {"instrument serial number", "", "", "referenceInformation"});
        m_file.PutAttribute(v.instrument, "cf_role", "timeseries_id");
        const SNcDimension rows = m_file.DefineDimension("matrix_row", kMatrixSize);
        const SNcDimension columns = m_file.DefineDimension("matrix_column", kMatrixSize);
        const SNcDimension matrixDimensions[] = {rows, columns};
        v.transformationMatrix =
            m_file.DefineVariable("transformation_matrix", ENcType::Double, matrixDimensions);
        Describe(m_file, v.transformationMatrix,
                 {"transformation matrix of the head, as configured (beam to instrument "
                  "coordinates)",
                  "1", "", "referenceInformation"});
    }

    void DefinePosition() {
        if (!m_shape.bPosition) {
            return;
        }
        STarsisNcVariables& v = m_variables;
        v.latitude = m_file.DefineVariable("latitude", ENcType::Double, {});
        Describe(m_file, v.latitude, {"latitude", "degrees_north", "latitude", "coordinate"});
        m_file.PutAttribute(v.latitude, "axis", "Y");
        v.longitude = m_file.DefineVariable("longitude", ENcType::Double, {});
        Describe(m_file, v.longitude, {"longitude", "degrees_east", "longitude", "coordinate"});
        m_file.PutAttribute(v.longitude, "axis", "X");
        m_strPosition = " latitude longitude";
        if (m_shape.bDepth) {
            v.depth = m_file.DefineVariable("depth", ENcType::Double, {});
            Describe(m_file, v.depth, {"depth of the instrument", "m", "depth", "coordinate"});
            m_file.PutAttribute(v.depth, "positive", "down");
            m_file.PutAttribute(v.depth, "axis", "Z");
            m_strPosition += " depth";
        }
    }

    CNcFile& m_file;
    const STarsisNcShape& m_shape;
    const std::array<std::size_t, 1> m_sampleChunk;
    const std::array<std::size_t, 2> m_beamChunk;
    SNcDimension m_time;
    SNcDimension m_beamDimension;
    SNcDimension m_timeSys;
    // The position's scalar coordinates, each after a blank; empty without a position.
    std::string m_strPosition;
    STarsisNcVariables m_variables;
};

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

STarsisNcVariables DefineTarsisVariables(CNcFile& file, const STarsisNcShape& shape) {
    return CLayoutBuilder(file, shape).Build();
}

}  // namespace sulvan
