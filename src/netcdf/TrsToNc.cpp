#include "netcdf/TrsToNc.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "config/ConfigFields.hpp"
#include "convert/BeamSources.hpp"
#include "convert/CPercentProgress.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "netcdf/CNcBlockWriter.hpp"
#include "netcdf/CSampleClock.hpp"
#include "netcdf/NcWriteSteps.hpp"
#include "netcdf/ReaderNcExport.hpp"
#include "netcdf/TarsisNcLayout.hpp"
#include "platform/ByteOrder.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr int kMaxBeams = CBeamSources::kMaxBeams;

// System samples come about once a second; their clocks have whole seconds.
constexpr double kSystemInterval = 1.0;

double SampleRateOf(const CConfig& config) {
    const double dRate = config.m_dSampleRate;
    return std::isfinite(dRate) && dRate > 0.0 ? dRate : 1.0;
}

SNcRecordingFacts FactsOf(CInsFile& reader, const SNcOptions& options, double dSampleRate,
                          int nCoordinateSystem) {
    const CConfig& config = reader.Config();
    SNcRecordingFacts facts = ReaderFacts(reader, options, "Tarsis acoustic Doppler velocimeter");
    facts.strTitle = "Tarsis velocimeter recording " + facts.strInputName;
    facts.strSummary =
        "Velocities, signal amplitudes and correlations of the velocity samples, and heading, "
        "pitch, roll, temperature, sound speed and battery of the system samples, of the Tarsis "
        "velocimeter recording " +
        facts.strInputName + ", converted from the recorded counts by Sulvan File Converter.";
    const bool bBurst = config.m_bBurst == 1;
    facts.settings.insert(
        facts.settings.end(),
        {
            {NcSetting::SamplingRate, dSampleRate},
            {NcSetting::BurstMode, std::string(bBurst ? "bursts" : "continuous")},
            {NcSetting::SamplesPerBurst, std::int64_t{bBurst ? config.m_nBurstSamples : 0}},
            {NcSetting::SoundSpeed, config.m_dSoundSpeed},
            {NcSetting::Salinity, config.m_dSalinity},
            {NcSetting::CoordinateSystem, CoordinateSystemName(nCoordinateSystem)},
        });
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
          m_samples(m_file, kNcChunkLength),
          m_system(m_file, kNcChunkLength) {}

    // The velocity samples written are the file's data records.
    SFileOutcome Run() {
        if (auto failed = FailureOfWriting(m_file, m_strOutput, [this] {
                Prepare();
                Walk();
                Finish();
            })) {
            return *std::move(failed);
        }
        SFileOutcome outcome;
        outcome.written.push_back({m_strOutput, m_samples.Count()});
        outcome.damage = m_damage.walk;
        return outcome;
    }

  private:
    void Prepare() {
        const SNcMetadata& metadata = m_options.metadata;
        const SReaderNcShape shape =
            ReaderShapeOf(m_reader, m_options, m_nBeams, m_nCoordinateSystem);

        m_file.Create(m_strOutput);
        m_variables = DefineTarsisVariables(m_file, shape);
        m_clock.emplace(m_file,
                        std::initializer_list<SNcVariable>{m_variables.time, m_variables.timeSys});
        WriteOpeningGlobals(
            m_file, FactsOf(m_reader, m_options, m_dSampleRate, m_nCoordinateSystem), metadata);
        m_file.EndDefinitions();
        WriteReaderInstrument(m_file, m_reader, m_variables.instrument, m_variables.beam, m_nBeams,
                              m_variables.position, metadata);
        AddColumns();
    }

    void AddColumns() {
        const STarsisNcVariables& v = m_variables;
        const auto nBeams = static_cast<std::size_t>(m_nBeams);
        m_time = &m_samples.AddColumn<double>(v.time);
        for (SNcVariable velocity : v.velocity) {
            m_velocity.push_back(v.BeamVelocity()
                                     ? &m_samples.AddRows<std::int16_t>(velocity, nBeams)
                                     : &m_samples.AddColumn<std::int16_t>(velocity));
        }
        m_amplitude = &m_samples.AddRows<std::int8_t>(v.amplitude, nBeams);
        m_correlation = &m_samples.AddRows<std::int8_t>(v.correlation, nBeams);
        m_pressure = &m_samples.AddColumn<std::int32_t>(v.pressure);
        m_analogInput1 = &m_samples.AddColumn<std::int16_t>(v.analogInput1);
        m_burst = &m_samples.AddColumn<std::int32_t>(v.burst);
        m_sampleInBurst = &m_samples.AddColumn<std::int32_t>(v.sampleInBurst);
        m_flags = &m_samples.AddColumn<std::int8_t>(v.qualityFlag);

        m_timeSys = &m_system.AddColumn<double>(v.timeSys);
        m_state = AddStateColumns(m_system, v.state);
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

    void TakeHeader(const SRecordView& record) {
        if (!m_bBurst) {
            return;
        }
        ++m_nBursts;
        m_nInBurst = 0;
        m_sampleClock.Anchor(m_clock->SecondsOf(record.Data() + kRecordClockOffset));
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
        const std::optional<double> dSeconds =
            m_clock->SecondsOf(record.Data() + kRecordClockOffset);
        if (!m_bBurst && dSeconds) {
            m_sampleClock.Anchor(dSeconds);
        }
        m_dLatestSystem = dSeconds;
        m_bSystemSinceSample = true;
        const bool bDamaged = m_damagedBeforeSystem.Take(*m_pWalk);
        m_systemClock.Anchor(dSeconds);
        if (!m_systemClock.HasTime()) {
            ++m_damage.nSystemSamplesWithoutTime;
            return;
        }
        const SSampleTime time = m_systemClock.Next(bDamaged);
        const std::uint8_t* p = record.Data();
        const std::size_t n = m_system.Sample();
        m_timeSys->Set(n, time.dSeconds);
        m_state.Set(n, p, kSystemSampleState);
        m_flagsSys->Set(n, time.nFlags);
        m_system.Next();
    }

    void TakeVelocitySample(const SRecordView& record) {
        const bool bDamaged = m_damagedBeforeSample.Take(*m_pWalk);
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
        if (m_clock->Epoch()) {
            coverage.dEpoch = *m_clock->Epoch();
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
    STarsisNcVariables m_variables;
    CSampleClock m_sampleClock;
    CSampleClock m_systemClock;
    std::optional<CNcRecordClock> m_clock;
    double m_dFirstTime = 0.0;
    double m_dLastTime = 0.0;
    std::uint64_t m_nBursts = 0;
    std::uint64_t m_nInBurst = 0;  // velocity samples since the burst began
    // The latest system sample's time, and whether it came after the latest velocity sample.
    std::optional<double> m_dLatestSystem;
    bool m_bSystemSinceSample = false;

    const CRecordWalk* m_pWalk = nullptr;
    CDamageSince m_damagedBeforeSample;
    CDamageSince m_damagedBeforeSystem;
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
    SNcStateColumns m_state;
    CNcColumn<std::int8_t>* m_flagsSys = nullptr;
};

}  // namespace

SFileOutcome TrsToNc(CInsFile& reader, const std::string& strOutputPath,
                     const SNcOptions& options) {
    return CTarsisNcConversion(reader, strOutputPath, options).Run();
}

}  // namespace sulvan
