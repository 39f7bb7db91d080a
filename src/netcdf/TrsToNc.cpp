#include "netcdf/TrsToNc.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "config/ConfigFields.hpp"
#include "convert/BeamSources.hpp"
#include "convert/CPercentProgress.hpp"
#include "format/BcdClock.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "netcdf/CNcBlockWriter.hpp"
#include "netcdf/CSampleClock.hpp"
#include "netcdf/IsoTime.hpp"
#include "netcdf/NcGlobalAttributes.hpp"
#include "netcdf/TarsisNcLayout.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/FileError.hpp"
#include "platform/Path.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kMaxBeams = CBeamSources::kMaxBeams;

// System samples come about once a second; their clocks have whole seconds.
constexpr double kSystemInterval = 1.0;

double SampleRateOf(const CConfig& config) {
    const double dRate = config.m_dSampleRate;
    return std::isfinite(dRate) && dRate > 0.0 ? dRate : 1.0;
}

std::string IdOf(std::string_view strName) {
    std::string strId(WithoutExtension(strName));
    std::replace(strId.begin(), strId.end(), ' ', '_');
    return strId;
}

SNcRecordingFacts FactsOf(CInsFile& reader, const SNcOptions& options, double dSampleRate,
                          int nCoordinateSystem) {
    CInsConf& conf = reader.Conf();
    const CConfig& config = reader.Config();
    SNcRecordingFacts facts;
    facts.strInputName = std::string(FileNameOf(reader.File().GetFilePath()));
    facts.nInputSize = reader.File().GetLength();
    facts.strCommandLine = options.strCommandLine;
    facts.strInstrument = "Tarsis acoustic Doppler velocimeter (type " +
                          std::to_string(config.m_nType) + "), serial numbers " +
                          conf.GetHardwareSerial() + " / " + conf.GetHeadSerial() + ", firmware " +
                          conf.GetFirmwareText();
    facts.strTitle = "Tarsis velocimeter recording " + facts.strInputName;
    facts.strSummary =
        "Velocities, signal amplitudes and correlations of the velocity samples, and heading, "
        "pitch, roll, temperature, sound speed and battery of the system samples, of the Tarsis "
        "velocimeter recording " +
        facts.strInputName + ", converted from the recorded counts by Sulvan File Converter.";
    facts.strId = IdOf(facts.strInputName);
    facts.strComment = conf.GetComment();
    const bool bBurst = config.m_bBurst == 1;
    facts.settings = {
        {NcSetting::DeploymentName, conf.GetDeploymentName()},
        {NcSetting::DeploymentComment, conf.GetComment()},
        {NcSetting::SamplingRate, dSampleRate},
        {NcSetting::BurstMode, std::string(bBurst ? "bursts" : "continuous")},
        {NcSetting::SamplesPerBurst, std::int64_t{bBurst ? config.m_nBurstSamples : 0}},
        {NcSetting::SoundSpeed, config.m_dSoundSpeed},
        {NcSetting::Salinity, config.m_dSalinity},
        {NcSetting::CoordinateSystem, CoordinateSystemName(nCoordinateSystem)},
    };
    return facts;
}

// The state of one conversion: the output with its blocks, the two clocks and what the walk
// passed over.
class CTarsisNcConversion {
  public:
    CTarsisNcConversion(CInsFile& reader, const std::string& strOutput, const SNcOptions& options)
        : m_reader(reader),
          m_strOutput(strOutput),
          m_options(options),
          m_progress(options.progress, reader.File().GetLength()),
          m_bBurst(reader.Config().m_bBurst == 1),
          m_dSampleRate(SampleRateOf(reader.Config())),
          m_nBeams(std::clamp(reader.Conf().GetUserBeams(), 1, kMaxBeams)),
          m_beamSources(m_nBeams, reader.Conf().GetUserCells()),
          m_nCoordinateSystem(reader.Conf().GetUserInt(UserField::CoordinateSystem)),
          m_nBurstSamples(reader.Config().m_nBurstSamples),
          m_sampleClock(1.0 / m_dSampleRate),
          m_systemClock(kSystemInterval),
          m_samples(m_file, kTarsisChunkLength),
          m_system(m_file, kTarsisChunkLength) {}

    // The velocity samples written are the file's data records.
    SFileOutcome Run() {
        try {
            Prepare();
            Walk();
            Finish();
        } catch (const FileError& error) {
            m_file.CloseAfterError();
            return FailedWriting(error, m_strOutput, m_bCreated);
        }
        SFileOutcome outcome;
        outcome.written.push_back({m_strOutput, m_samples.Count()});
        return outcome;
    }

  private:
    void Prepare() {
        const SNcMetadata& metadata = m_options.metadata;
        STarsisNcShape shape;
        shape.nBeams = m_nBeams;
        shape.nCoordinateSystem = m_nCoordinateSystem;
        shape.dVelocityScale =
            m_reader.Conf().GetFineVelocityScale() ? kFineVelocityScale : kCoarseVelocityScale;
        shape.nDeflateLevel = std::clamp(m_options.nDeflateLevel, 0, 9);
        shape.nChunkLength = kTarsisChunkLength;
        shape.bPosition = metadata.HasPosition();
        shape.bDepth = shape.bPosition && metadata.depth.has_value();

        m_file.Create(m_strOutput);
        m_bCreated = true;
        m_variables = DefineTarsisVariables(m_file, shape);
        WriteOpeningGlobals(
            m_file, FactsOf(m_reader, m_options, m_dSampleRate, m_nCoordinateSystem), metadata);
        m_file.EndDefinitions();
        WriteInstrument();
        AddColumns();
    }

    void WriteInstrument() {
        const STarsisNcVariables& v = m_variables;
        CInsConf& conf = m_reader.Conf();
        const std::string strSerial = conf.GetHardwareSerial();
        m_file.Write(v.instrument, strSerial.empty() ? std::string("unknown") : strSerial);
        std::array<double, HeadField::MatrixElements> matrix{};
        for (std::size_t i = 0; i < matrix.size(); ++i) {
            matrix[i] = conf.GetHeadInt(HeadField::Matrix + 2 * i) / 4096.0;
        }
        const std::size_t matrixStart[] = {0, 0};
        const std::size_t matrixCount[] = {3, 3};
        m_file.Write(v.transformationMatrix, matrixStart, matrixCount, matrix.data());
        std::array<std::int32_t, kMaxBeams> beams = {1, 2, 3};
        const std::size_t beamStart[] = {0};
        const std::size_t beamCount[] = {static_cast<std::size_t>(m_nBeams)};
        m_file.Write(v.beam, beamStart, beamCount, beams.data());
        const SNcMetadata& metadata = m_options.metadata;
        if (metadata.HasPosition()) {
            m_file.Write(v.latitude, {}, {}, &*metadata.latitude);
            m_file.Write(v.longitude, {}, {}, &*metadata.longitude);
            if (metadata.depth) {
                m_file.Write(v.depth, {}, {}, &*metadata.depth);
            }
        }
    }

    void AddColumns() {
        const STarsisNcVariables& v = m_variables;
        const auto nBeams = static_cast<std::size_t>(m_nBeams);
        m_time = &m_samples.AddColumn<double>(v.time);
        for (SNcVariable velocity : v.velocity) {
            m_velocity.push_back(
                &m_samples.AddColumn<std::int16_t>(velocity, v.BeamVelocity() ? nBeams : 1));
        }
        m_amplitude = &m_samples.AddColumn<std::int8_t>(v.amplitude, nBeams);
        m_correlation = &m_samples.AddColumn<std::int8_t>(v.correlation, nBeams);
        m_pressure = &m_samples.AddColumn<std::int32_t>(v.pressure);
        m_analogInput1 = &m_samples.AddColumn<std::int16_t>(v.analogInput1);
        m_burst = &m_samples.AddColumn<std::int32_t>(v.burst);
        m_sampleInBurst = &m_samples.AddColumn<std::int32_t>(v.sampleInBurst);
        m_flags = &m_samples.AddColumn<std::int8_t>(v.qualityFlag);

        m_timeSys = &m_system.AddColumn<double>(v.timeSys);
        m_heading = &m_system.AddColumn<std::int16_t>(v.heading);
        m_pitch = &m_system.AddColumn<std::int16_t>(v.pitch);
        m_roll = &m_system.AddColumn<std::int16_t>(v.roll);
        m_temperature = &m_system.AddColumn<std::int16_t>(v.temperature);
        m_soundSpeed = &m_system.AddColumn<std::int16_t>(v.soundSpeed);
        m_battery = &m_system.AddColumn<std::int16_t>(v.battery);
        m_flagsSys = &m_system.AddColumn<std::int8_t>(v.qualityFlagSys);
    }

    void Walk() {
        CRecordWalk walk(m_reader.File(), m_reader.Geometry(),
                         SWalkOptions{.nRecordSizeLimit = kConverterRecordSizeLimit});
        m_pWalk = &walk;
        SRecordView record;
        while (walk.Next(record)) {
            m_progress.At(record.nOffset);
            switch (record.Id()) {
                case RecordId::SystemSample:
                    TakeSystemSample(record);
                    break;
                case RecordId::VelocityHeader:
                    TakeHeader(record);
                    break;
                case RecordId::VelocitySample:
                    TakeVelocitySample(record);
                    break;
                default:
                    break;
            }
        }
        m_progress.At(walk.Position());
        m_damage.walk = walk.Damage();
        m_pWalk = nullptr;
    }

    // Whether the walk slid over damage since the count was last taken.
    bool DamagedSince(std::uint64_t& nSpansSeen) const {
        const std::uint64_t nSpans = m_pWalk->Damage().nSkippedSpans;
        const bool bDamaged = nSpans != nSpansSeen;
        nSpansSeen = nSpans;
        return bDamaged;
    }

    // The record clock in seconds since the first clock of the recording; empty when it forms
    // no time. The first clock sets the time units.
    std::optional<double> SecondsOf(const SRecordView& record) {
        const std::optional<double> dateTime =
            m_clockDecoder.Decode(record.Data() + kRecordClockOffset);
        if (!dateTime) {
            return std::nullopt;
        }
        if (!m_dEpoch) {
            m_dEpoch = *dateTime;
            const std::string strUnits = "seconds since " + FormatIsoDateTime(*dateTime);
            m_file.PutAttribute(m_variables.time, "units", strUnits);
            m_file.PutAttribute(m_variables.timeSys, "units", strUnits);
        }
        return std::round((*dateTime - *m_dEpoch) * kSecondsPerDay);
    }

    void TakeHeader(const SRecordView& record) {
        if (!m_bBurst) {
            return;
        }
        ++m_nBursts;
        m_nInBurst = 0;
        m_sampleClock.Anchor(SecondsOf(record));
    }

    // A sample after a full burst opens the next one, whose header was lost to damage: it is
    // timed from a system sample met since the last sample, as a continuous recording would
    // be, rather than as the continuation of the burst before (a whole burst interval early).
    void StartBurstWithoutHeader() {
        ++m_nBursts;
        m_nInBurst = 0;
        m_sampleClock.Anchor(m_bSystemSinceSample ? m_dLatestSystem : std::nullopt);
    }

    void TakeSystemSample(const SRecordView& record) {
        const std::optional<double> dSeconds = SecondsOf(record);
        if (!m_bBurst && dSeconds) {
            m_sampleClock.Anchor(dSeconds);
        }
        m_dLatestSystem = dSeconds;
        m_bSystemSinceSample = true;
        const bool bDamaged = DamagedSince(m_nSpansAtSystem);
        m_systemClock.Anchor(dSeconds);
        if (!m_systemClock.HasTime()) {
            ++m_damage.nSystemSamplesWithoutTime;
            return;
        }
        const SSampleTime time = m_systemClock.Next(bDamaged);
        const std::uint8_t* p = record.Data();
        const std::size_t n = m_system.Sample();
        m_timeSys->Set(n, time.dSeconds);
        m_heading->Set(n, ReadI16Le(p + SystemSampleField::Heading));
        m_pitch->Set(n, ReadI16Le(p + SystemSampleField::Pitch));
        m_roll->Set(n, ReadI16Le(p + SystemSampleField::Roll));
        m_temperature->Set(n, ReadI16Le(p + SystemSampleField::Temperature));
        m_soundSpeed->Set(n, ReadI16Le(p + SystemSampleField::SoundSpeed));
        m_battery->Set(n, ReadI16Le(p + SystemSampleField::Battery));
        m_flagsSys->Set(n, time.nFlags);
        m_system.Next();
    }

    void TakeVelocitySample(const SRecordView& record) {
        const bool bDamaged = DamagedSince(m_nSpansAtSample);
        if (m_bBurst && m_nBurstSamples > 0 && m_nInBurst >= m_nBurstSamples) {
            StartBurstWithoutHeader();
        }
        ++m_nInBurst;
        m_bSystemSinceSample = false;
        if (!m_sampleClock.HasTime()) {
            ++m_damage.nSamplesBeforeFirstTime;
            return;
        }
        const SSampleTime time = m_sampleClock.Next(bDamaged);
        const std::uint8_t* p = record.Data();
        const std::size_t n = m_samples.Sample();
        if (m_samples.Count() == 0) {
            m_dFirstTime = time.dSeconds;
        }
        m_dLastTime = time.dSeconds;
        m_time->Set(n, time.dSeconds);
        m_pressure->Set(n, static_cast<std::int32_t>(
                               (std::uint32_t{p[VelocitySampleField::PressureHigh]} << 16) |
                               ReadU16Le(p + VelocitySampleField::Pressure)));
        m_analogInput1->Set(n, ReadI16Le(p + VelocitySampleField::Analog1));
        m_burst->Set(n, static_cast<std::int32_t>(std::min<std::uint64_t>(m_nBursts, INT32_MAX)));
        m_sampleInBurst->Set(
            n, static_cast<std::int32_t>(std::min<std::uint64_t>(time.nSinceAnchor, INT32_MAX)));
        m_flags->Set(n, time.nFlags);
        TakeBeams(record, n);
        m_samples.Next();
    }

    void TakeBeams(const SRecordView& record, std::size_t n) {
        const std::uint8_t* p = record.Data() + VelocitySampleField::Arrays;
        const std::size_t nEntries =
            VelocitySampleEntries(record.Size(), VelocitySampleField::Arrays);
        const auto& sources = m_beamSources.For(nEntries);
        // Velocity components the recording lacks (fewer beams) read as the fill value.
        for (std::size_t b = 0; b < static_cast<std::size_t>(kMaxBeams); ++b) {
            const int nSource = sources[b];
            const auto i = static_cast<std::size_t>(nSource);
            const std::int16_t nVelocity = nSource < 0 ? kVelocityFill : ReadI16Le(p + 2 * i);
            const bool bBeamVelocity = m_variables.BeamVelocity();
            if (!bBeamVelocity) {
                m_velocity[b]->Set(n, nVelocity);
            }
            if (b >= static_cast<std::size_t>(m_nBeams)) {
                continue;
            }
            if (bBeamVelocity) {
                m_velocity[0]->Set(b, n, nVelocity);
            }
            m_amplitude->Set(b, n, nSource < 0 ? 0 : static_cast<std::int8_t>(p[2 * nEntries + i]));
            m_correlation->Set(b, n,
                               nSource < 0 ? 0 : static_cast<std::int8_t>(p[3 * nEntries + i]));
        }
    }

    void Finish() {
        m_samples.Flush();
        m_system.Flush();
        SNcCoverage coverage;
        if (m_dEpoch) {
            coverage.dEpoch = *m_dEpoch;
            coverage.dFirst = m_dFirstTime;
            coverage.dLast = m_dLastTime;
            coverage.dResolution = 1.0 / m_dSampleRate;
        }
        WriteClosingGlobals(m_file, coverage, m_damage);
        m_file.Close();
    }

    CInsFile& m_reader;
    const std::string& m_strOutput;
    const SNcOptions& m_options;
    CPercentProgress m_progress;
    const bool m_bBurst;
    const double m_dSampleRate;
    const int m_nBeams;
    CBeamSources m_beamSources;
    const int m_nCoordinateSystem;
    const std::uint64_t m_nBurstSamples;

    CNcFile m_file;
    bool m_bCreated = false;
    STarsisNcVariables m_variables;
    CSampleClock m_sampleClock;
    CSampleClock m_systemClock;
    CClockDecoder m_clockDecoder;
    std::optional<double> m_dEpoch;
    double m_dFirstTime = 0.0;
    double m_dLastTime = 0.0;
    std::uint64_t m_nBursts = 0;
    std::uint64_t m_nInBurst = 0;  // velocity samples since the burst began
    // The latest system sample's time, and whether it came after the latest velocity sample.
    std::optional<double> m_dLatestSystem;
    bool m_bSystemSinceSample = false;

    const CRecordWalk* m_pWalk = nullptr;
    std::uint64_t m_nSpansAtSample = 0;
    std::uint64_t m_nSpansAtSystem = 0;
    SNcDamage m_damage;

    CNcBlockWriter m_samples;
    CNcColumn<double>* m_time = nullptr;
    std::vector<CNcColumn<std::int16_t>*> m_velocity;
    // Unsigned counts kept in the signed types of their width (see the layout).
    CNcColumn<std::int8_t>* m_amplitude = nullptr;
    CNcColumn<std::int8_t>* m_correlation = nullptr;
    CNcColumn<std::int32_t>* m_pressure = nullptr;
    CNcColumn<std::int16_t>* m_analogInput1 = nullptr;
    CNcColumn<std::int32_t>* m_burst = nullptr;
    CNcColumn<std::int32_t>* m_sampleInBurst = nullptr;
    CNcColumn<std::int8_t>* m_flags = nullptr;

    CNcBlockWriter m_system;
    CNcColumn<double>* m_timeSys = nullptr;
    CNcColumn<std::int16_t>* m_heading = nullptr;
    CNcColumn<std::int16_t>* m_pitch = nullptr;
    CNcColumn<std::int16_t>* m_roll = nullptr;
    CNcColumn<std::int16_t>* m_temperature = nullptr;
    CNcColumn<std::int16_t>* m_soundSpeed = nullptr;
    CNcColumn<std::int16_t>* m_battery = nullptr;
    CNcColumn<std::int8_t>* m_flagsSys = nullptr;
};

}  // namespace

SFileOutcome TrsToNc(CInsFile& reader, const std::string& strOutputPath,
                     const SNcOptions& options) {
    return CTarsisNcConversion(reader, strOutputPath, options).Run();
}

}  // namespace sulvan
