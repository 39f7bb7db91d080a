#include "netcdf/CorvaneNcLayout.hpp"

#include <algorithm>
#include <string>

namespace sulvan {
namespace {

constexpr std::array<std::int8_t, 3> kFlagMasks = {
    CorvaneFlag::TimeAdjusted, CorvaneFlag::RecordWithoutSample, CorvaneFlag::Missing};
constexpr const char* kFlagMeanings = "time_adjusted_to_increase record_without_sample missing";

// Samples times probes in a chunk: 32768 samples of eight probes.
constexpr std::size_t kChunkSlots = kNcChunkLength * 8;
constexpr std::size_t kShortestChunk = 1024;

// The probe settings as their variables are named, for the data variables' coordinates.
constexpr const char* kProbeSettings =
    "serial_number port velocity_range sampling_volume transmit_length coordinate_system "
    "sync_master start_on_sync sample_on_sync";

class CCorvaneLayout {
  public:
    CCorvaneLayout(CNcFile& file, const SCorvaneNcShape& shape)
        : m_file(file),
          m_shape(shape),
          m_builder(file, shape.nDeflateLevel, shape.nChunkLength),
          m_sampleChunk{shape.nChunkLength},
          m_slotChunk{shape.nChunkLength, shape.nProbes},
          m_beamChunk{shape.nChunkLength, shape.nProbes, shape.nBeams} {}

    SCorvaneNcVariables Build() {
        m_sample = m_file.DefineDimension("sample", CNcFile::kUnlimited);
        m_probe = m_file.DefineDimension("probe", m_shape.nProbes);
        m_beam = m_file.DefineDimension("beam", m_shape.nBeams);
        DefinePosition();
        DefineCoordinates();
        DefineData();
        DefineProbeSettings();
        return m_v;
    }

  private:
    SNcVariable BySample(const char* pName, ENcType type) {
        const SNcDimension dimensions[] = {m_sample};
        return m_builder.Chunked(pName, type, dimensions, m_sampleChunk);
    }
    SNcVariable BySlot(const char* pName, ENcType type) {
        const SNcDimension dimensions[] = {m_sample, m_probe};
        return m_builder.Chunked(pName, type, dimensions, m_slotChunk);
    }
    SNcVariable ByBeam(const char* pName, ENcType type) {
        const SNcDimension dimensions[] = {m_sample, m_probe, m_beam};
        return m_builder.Chunked(pName, type, dimensions, m_beamChunk);
    }
    SNcVariable ByProbe(const char* pName, ENcType type, const SNcDescription& description) {
        const SNcDimension dimensions[] = {m_probe};
        const SNcVariable variable = m_builder.Fixed(pName, type, dimensions);
        m_builder.Describe(variable, description);
        return variable;
    }

    void DefinePosition() {
        using EPosition = SCorvaneNcShape::EPosition;
        if (m_shape.position == EPosition::Array) {
            const SNcPositionVariables position =
                m_builder.DefineScalarPosition(true, m_shape.bDepth);
            m_v.latitude = position.latitude;
            m_v.longitude = position.longitude;
            m_v.depth = position.depth;
            m_strPosition = position.strCoordinates;
            return;
        }
        if (m_shape.position != EPosition::PerProbe) {
            return;
        }
        m_v.latitude =
            ByProbe("latitude", ENcType::Double,
                    {"latitude of the probe", "degrees_north", "latitude", "coordinate"});
        m_v.longitude =
            ByProbe("longitude", ENcType::Double,
                    {"longitude of the probe", "degrees_east", "longitude", "coordinate"});
        m_strPosition = " latitude longitude";
        if (m_shape.bDepth) {
            m_v.depth = ByProbe("depth", ENcType::Double,
                                {"depth of the probe", "m", "depth", "coordinate"});
            m_file.PutAttribute(m_v.depth, "positive", "down");
            m_strPosition += " depth";
        }
        for (SNcVariable variable : {m_v.latitude, m_v.longitude, m_v.depth}) {
            if (variable.nId >= 0) {
                m_file.DefineFill(variable, kDoubleFill);
            }
        }
    }

    void DefineCoordinates() {
        m_v.sample = BySample("sample", ENcType::Int);
        m_builder.Describe(m_v.sample, {"sample number, from 1", "1", "", "coordinate"});
        m_v.probe = ByProbe(
            "probe", ENcType::Int,
            {"probe index in the recording's probe configuration, from 0", "1", "", "coordinate"});
        const SNcDimension beamDimensions[] = {m_beam};
        m_v.beam = m_builder.Fixed("beam", ENcType::Int, beamDimensions);
        m_builder.Describe(m_v.beam, {"beam number", "1", "", "coordinate"});
        m_v.time = BySample("time", ENcType::Double);
        m_builder.DescribeTime(m_v.time, "time of the sample: the earliest of its probes' stamps",
                               "quality_flag");
        m_file.PutAttribute(m_v.time, "axis", "T");
        m_v.probeTime = BySlot("probe_time", ENcType::Double);
        m_builder.DescribeTime(m_v.probeTime, "time stamp of the probe's record of the sample",
                               "quality_flag");
        m_file.DefineFill(m_v.probeTime, kDoubleFill);
    }

    void DefineData() {
        const std::string strCoordinates =
            std::string("time probe_time ") + kProbeSettings + m_strPosition;
        m_v.velocity = ByBeam("velocity", ENcType::Short);
        m_builder.Describe(m_v.velocity,
                           {"sea water velocity along each beam or axis of the probe's "
                            "coordinate system (coordinate_system)",
                            "m s-1", "", "physicalMeasurement"});
        m_file.PutAttribute(m_v.velocity, "scale_factor", m_shape.dVelocityScale);
        m_file.DefineFill(m_v.velocity, kVelocityFill);
        m_v.amplitude = ByBeam("amplitude", ENcType::Short);
        m_builder.Describe(
            m_v.amplitude,
            {"signal amplitude, recorded counts", "1",
             "signal_intensity_from_multibeam_acoustic_doppler_velocity_sensor_in_sea_water",
             "physicalMeasurement"});
        m_v.correlation = ByBeam("correlation", ENcType::Short);
        m_builder.Describe(m_v.correlation,
                           {"correlation, recorded counts", "1",
                            "beam_consistency_indicator_from_multibeam_acoustic_doppler_velocity_"
                            "profiler_in_sea_water",
                            "physicalMeasurement"});
        for (SNcVariable variable : {m_v.amplitude, m_v.correlation}) {
            m_file.DefineFill(variable, kCountFill);
        }
        for (SNcVariable variable : {m_v.velocity, m_v.amplitude, m_v.correlation}) {
            m_file.PutAttribute(variable, "coordinates", strCoordinates);
            m_file.PutAttribute(variable, "ancillary_variables", "quality_flag");
        }
        m_v.qualityFlag = BySlot("quality_flag", ENcType::Byte);
        m_builder.DescribeFlags(m_v.qualityFlag, "quality of the probe's sample", kFlagMasks,
                                kFlagMeanings);
        m_v.timeMarks = BySample("time_marks", ENcType::Int);
        m_builder.Describe(m_v.timeMarks,
                           {"time marks (0x0F records) met before the sample, from the start of "
                            "the recording",
                            "1", "", "auxiliaryInformation"});
        m_file.PutAttribute(m_v.timeMarks, "coordinates", "time");
    }

    void DefineProbeSettings() {
        m_v.serialNumber = ByProbe("serial_number", ENcType::String,
                                   {"serial number of the probe", "", "", "referenceInformation"});
        m_file.PutAttribute(m_v.serialNumber, "cf_role", "timeseries_id");
        m_v.port = ByProbe("port", ENcType::String,
                           {"port the probe was recorded from", "", "", "referenceInformation"});
        struct SSetting {
            SNcVariable* pVariable;
            const char* pName;
            ENcType type;
            const char* pLongName;
        };
        const SSetting settings[] = {
            {&m_v.velocityRange, "velocity_range", ENcType::Short,
             "velocity range setting, as configured"},
            {&m_v.samplingVolume, "sampling_volume", ENcType::Short,
             "sampling volume setting, as configured"},
            {&m_v.transmitLength, "transmit_length", ENcType::Short,
             "transmit length setting, as configured"},
            {&m_v.coordinateSystem, "coordinate_system", ENcType::Int,
             "coordinate system of the velocities, as configured (0 earth, 1 instrument, "
             "2 beam)"},
            {&m_v.syncMaster, "sync_master", ENcType::Byte,
             "the probe is the synchronisation master (1) or not (0)"},
            {&m_v.startOnSync, "start_on_sync", ENcType::Byte,
             "the probe starts on synchronisation (1) or not (0)"},
            {&m_v.sampleOnSync, "sample_on_sync", ENcType::Byte,
             "the probe samples on synchronisation (1) or not (0)"},
        };
        for (const SSetting& setting : settings) {
            *setting.pVariable = ByProbe(setting.pName, setting.type,
                                         {setting.pLongName, "1", "", "referenceInformation"});
        }
    }

    CNcFile& m_file;
    const SCorvaneNcShape& m_shape;
    CNcLayoutBuilder m_builder;
    const std::array<std::size_t, 1> m_sampleChunk;
    const std::array<std::size_t, 2> m_slotChunk;
    const std::array<std::size_t, 3> m_beamChunk;
    SNcDimension m_sample;
    SNcDimension m_probe;
    SNcDimension m_beam;
    std::string m_strPosition;  // the position's coordinates, each after a blank
    SCorvaneNcVariables m_v;
};

}  // namespace

std::size_t CorvaneChunkLength(std::size_t nProbes) {
    std::size_t nLength = kNcChunkLength;
    while (nLength > kShortestChunk && nLength * nProbes > kChunkSlots) {
        nLength /= 2;
    }
    return nLength;
}

SCorvaneNcVariables DefineCorvaneVariables(CNcFile& file, const SCorvaneNcShape& shape) {
    return CCorvaneLayout(file, shape).Build();
}

}  // namespace sulvan
