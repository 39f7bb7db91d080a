#include "netcdf/PldToNc.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "config/ConfigFields.hpp"
#include "convert/CPercentProgress.hpp"
#include "convert/ConvertToWpr.hpp"
#include "convert/WaveBursts.hpp"
#include "format/CRecordWalk.hpp"
#include "format/RecordCatalogue.hpp"
#include "format/RecordFields.hpp"
#include "netcdf/CNcBlockWriter.hpp"
#include "netcdf/CSampleClock.hpp"
#include "netcdf/NcWriteSteps.hpp"
#include "netcdf/PeloraNcLayout.hpp"
#include "netcdf/ReaderNcExport.hpp"
#include "platform/ByteOrder.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr int kMaxBeams = 3;
// The spacing of a first burst whose clocks show one second only.
constexpr double kDefaultWaveSpacing = 1.0;

// A Pelora velocity record's velocities, amplitudes, pressure and analog input.
struct SPeloraSample {
    std::array<std::int16_t, kMaxBeams> velocity{};
    std::array<std::int8_t, kMaxBeams> amplitude{};  // unsigned counts in the signed type
    std::int32_t nPressure = 0;
    std::int16_t nAnalog1 = 0;
};

// Beams the record does not hold read as the fill value.
SPeloraSample ReadSample(const SRecordView& record) {
    const std::uint8_t* p = record.Data();
    const auto nEntries =
        static_cast<std::size_t>(std::max(0, BeamsFromRecordSize(record.Id(), record.Size())));
    SPeloraSample sample;
    sample.velocity.fill(kVelocityFill);
    for (std::size_t b = 0; b < std::min<std::size_t>(nEntries, kMaxBeams); ++b) {
        sample.velocity[b] = ReadI16Le(p + PeloraVelocityField::Arrays + 2 * b);
        sample.amplitude[b] =
            static_cast<std::int8_t>(p[PeloraVelocityField::Arrays + 2 * nEntries + b]);
    }
    sample.nPressure =
        static_cast<std::int32_t>((std::uint32_t{p[PeloraVelocityField::PressureHigh]} << 16) |
                                  ReadU16Le(p + PeloraVelocityField::Pressure));
    sample.nAnalog1 = ReadI16Le(p + PeloraVelocityField::Analog1);
    return sample;
}

// A wave sample waiting for its burst to end, when the burst's clocks tell its spacing.
struct SPendingWave {
    SPeloraSample sample;
    std::optional<double> dClock;
    bool bAfterDamage = false;
};

// The block columns of one kind of velocity record.
struct SSeriesColumns {
    CNcColumn<double>* pTime = nullptr;
    std::vector<CNcColumn<std::int16_t>*> velocity;
    CNcColumn<std::int8_t>* pAmplitude = nullptr;
    CNcColumn<std::int32_t>* pPressure = nullptr;
    CNcColumn<std::int16_t>* pAnalog1 = nullptr;
    CNcColumn<std::int8_t>* pFlags = nullptr;

    void Set(std::size_t n, const SSampleTime& time, const SPeloraSample& sample,
             std::size_t nBeams) const {
        pTime->Set(n, time.dSeconds);
        for (std::size_t b = 0; b < kMaxBeams; ++b) {
            if (velocity.size() == kMaxBeams) {
                velocity[b]->Set(n, sample.velocity[b]);
            } else if (b < nBeams) {
                velocity[0]->Set(b, n, sample.velocity[b]);
            }
            if (b < nBeams) {
                pAmplitude->Set(b, n, sample.amplitude[b]);
            }
        }
        pPressure->Set(n, sample.nPressure);
        pAnalog1->Set(n, sample.nAnalog1);
        pFlags->Set(n, time.nFlags);
    }
};

SSeriesColumns AddSeriesColumns(CNcBlockWriter& block, const SPeloraNcSeries& series,
                                std::size_t nBeams) {
    SSeriesColumns columns;
    columns.pTime = &block.AddColumn<double>(series.time);
    for (SNcVariable velocity : series.velocity) {
        columns.velocity.push_back(series.BeamVelocity()
                                       ? &block.AddRows<std::int16_t>(velocity, nBeams)
                                       : &block.AddColumn<std::int16_t>(velocity));
    }
    columns.pAmplitude = &block.AddRows<std::int8_t>(series.amplitude, nBeams);
    columns.pPressure = &block.AddColumn<std::int32_t>(series.pressure);
    columns.pAnalog1 = &block.AddColumn<std::int16_t>(series.analogInput1);
    columns.pFlags = &block.AddColumn<std::int8_t>(series.qualityFlag);
    return columns;
}

double IntervalOf(const CConfig& config) {
    return config.m_nInterval > 0 ? config.m_nInterval : 1.0;
}

SNcRecordingFacts FactsOf(CInsFile& reader, const SNcOptions& options, int nCoordinateSystem,
                          bool bWaveMode) {
    const CConfig& config = reader.Config();
    SNcRecordingFacts facts = ReaderFacts(reader, options, "Pelora acoustic Doppler current meter");
    facts.strTitle = "Pelora current meter recording " + facts.strInputName;
    facts.strSummary =
        "Velocities, signal amplitudes, pressure, heading, pitch, roll, temperature, sound speed "
        "and battery of the current records, and velocities, signal amplitudes and pressure of "
        "the wave samples, of the Pelora current meter recording " +
        facts.strInputName + ", converted from the recorded counts by Sulvan File Converter.";
    facts.settings.insert(
        facts.settings.end(),
        {
            {NcSetting::MeasurementInterval, std::int64_t{config.m_nInterval}},
            {NcSetting::AveragingInterval, std::int64_t{config.m_nRateDivisor}},
            {NcSetting::WaveMode, std::string(bWaveMode ? "on" : "off")},
            {NcSetting::SoundSpeed, config.m_dSoundSpeed},
            {NcSetting::Salinity, config.m_dSalinity},
            {NcSetting::CoordinateSystem, CoordinateSystemName(nCoordinateSystem)},
        });
    return facts;
}

class CPeloraNcConversion {
  public:
    CPeloraNcConversion(CInsFile& reader, const std::string& strOutput, const SNcOptions& options)
        : m_reader(reader),
          m_strOutput(strOutput),
          m_options(options),
          m_progress(options.progress, reader.File().GetLength()),
          m_bWaveMode(HasWaveMode(reader.Conf())),
          m_bursts(m_bWaveMode, kWaveSamplesPerBurst),
          m_nBeams(std::clamp(reader.Conf().GetUserBeams(), 1, kMaxBeams)),
          m_nCoordinateSystem(reader.Conf().GetUserInt(UserField::CoordinateSystem)),
          m_dInterval(IntervalOf(reader.Config())),
          m_currentClock(m_dInterval),
          m_waveClock(kDefaultWaveSpacing),
          m_current(m_file, kNcChunkLength),
          m_wave(m_file, kNcChunkLength) {}

    // The current records and wave samples written are the file's data records.
    SFileOutcome Run() {
        if (auto failed = FailureOfWriting(m_file, m_strOutput, [this] {
                Prepare();
                Walk();
                Finish();
            })) {
            return *std::move(failed);
        }
        SFileOutcome outcome;
        outcome.written.push_back({m_strOutput, m_current.Count() + m_wave.Count()});
        outcome.damage = m_damage.walk;
        return outcome;
    }

  private:
    void Prepare() {
        const SNcMetadata& metadata = m_options.metadata;
        const SReaderNcShape shape =
            ReaderShapeOf(m_reader, m_options, m_nBeams, m_nCoordinateSystem);

        m_file.Create(m_strOutput);
        m_variables = DefinePeloraVariables(m_file, shape);
        m_clock.emplace(m_file, std::initializer_list<SNcVariable>{m_variables.current.time,
                                                                   m_variables.wave.time});
        WriteOpeningGlobals(m_file, FactsOf(m_reader, m_options, m_nCoordinateSystem, m_bWaveMode),
                            metadata);
        m_file.EndDefinitions();
        WriteReaderInstrument(m_file, m_reader, m_variables.instrument, m_variables.beam, m_nBeams,
                              m_variables.position, metadata);
        const auto nBeams = static_cast<std::size_t>(m_nBeams);
        m_currentColumns = AddSeriesColumns(m_current, m_variables.current, nBeams);
        m_state = AddStateColumns(m_current, m_variables.state);
        m_waveColumns = AddSeriesColumns(m_wave, m_variables.wave, nBeams);
        m_burstColumn = &m_wave.AddColumn<std::int32_t>(m_variables.burstWave);
    }

    void Walk() {
        CRecordWalk walk(m_reader.File(), m_reader.Geometry(),
                         SWalkOptions{.nRecordSizeLimit = kConverterRecordSizeLimit});
        SRecordView record;
        while (walk.Next(record)) {
            m_progress.At(record.nOffset);
            const std::uint8_t nId = record.Id();
            if (nId == RecordId::SinglePointVelocity || nId == RecordId::PeloraExtended ||
                nId == RecordId::PeloraWaveSample) {
                Take(walk, record);
            }
        }
        m_progress.At(walk.Position());
        WriteBurst();
        m_damage.walk = walk.Damage();
    }

    void Take(const CRecordWalk& walk, const SRecordView& record) {
        const SPeloraWaveRole role = m_bursts.TakePelora(record.Id());
        if (role.bCurrent) {
            WriteBurst();
            TakeCurrent(walk, record);
        }
        if (role.bOpensBurst) {
            WriteBurst();
            ++m_nBursts;
        } else if (role.bWaveSample) {
            m_pending.push_back({ReadSample(record),
                                 m_clock->SecondsOf(record.Data() + kRecordClockOffset),
                                 m_damagedBeforeWave.Take(walk)});
        }
    }

    void TakeCurrent(const CRecordWalk& walk, const SRecordView& record) {
        const bool bDamaged = m_damagedBeforeCurrent.Take(walk);
        m_currentClock.Anchor(m_clock->SecondsOf(record.Data() + kRecordClockOffset));
        if (!m_currentClock.HasTime()) {
            ++m_damage.nSamplesBeforeFirstTime;
            return;
        }
        const SSampleTime time = m_currentClock.Next(bDamaged);
        const std::size_t n = m_current.Sample();
        NoteTime(time.dSeconds);
        m_currentColumns.Set(n, time, ReadSample(record), static_cast<std::size_t>(m_nBeams));
        m_state.Set(n, record.Data(), kPeloraVelocityState);
        m_current.Next();
    }

    // The burst's wave samples, timed now that all of its clocks are known (see kWaveTimeRule).
    void WriteBurst() {
        if (m_pending.empty()) {
            return;
        }
        const auto hasClock = [](const SPendingWave& wave) { return wave.dClock.has_value(); };
        const auto first = std::find_if(m_pending.begin(), m_pending.end(), hasClock);
        bool bOwnSpacing = false;
        std::optional<double> dStart;
        if (first != m_pending.end()) {
            const double dLast =
                *std::find_if(m_pending.rbegin(), m_pending.rend(), hasClock)->dClock;
            // The first samples of the second after the first clock and of the last second.
            const auto step = std::find_if(first, m_pending.end(), [&](const SPendingWave& wave) {
                return wave.dClock && *wave.dClock > *first->dClock;
            });
            const auto last = std::find_if(step, m_pending.end(), [&](const SPendingWave& wave) {
                return wave.dClock && *wave.dClock == dLast;
            });
            auto anchor = first;
            if (last != m_pending.end() && last > step && dLast > *step->dClock) {
                m_dWaveSpacing = (dLast - *step->dClock) / static_cast<double>(last - step);
                bOwnSpacing = true;
                anchor = step;
            }
            dStart =
                *anchor->dClock - static_cast<double>(anchor - m_pending.begin()) * m_dWaveSpacing;
        }
        m_waveClock.Anchor(dStart, m_dWaveSpacing);
        for (const SPendingWave& wave : m_pending) {
            if (!m_waveClock.HasTime()) {
                ++m_damage.nSamplesBeforeFirstTime;
                continue;
            }
            SSampleTime time = m_waveClock.Next(wave.bAfterDamage);
            time.nFlags |= bOwnSpacing ? 0 : SSampleTime::kAdjusted;
            const std::size_t n = m_wave.Sample();
            NoteTime(time.dSeconds);
            m_waveColumns.Set(n, time, wave.sample, static_cast<std::size_t>(m_nBeams));
            m_burstColumn->Set(
                n, static_cast<std::int32_t>(std::min<std::uint64_t>(m_nBursts, INT32_MAX)));
            m_wave.Next();
        }
        m_pending.clear();
    }

    void NoteTime(double dSeconds) {
        m_dFirstTime = std::min(m_dFirstTime.value_or(dSeconds), dSeconds);
        m_dLastTime = std::max(m_dLastTime, dSeconds);
    }

    void Finish() {
        m_current.Flush();
        m_wave.Flush();
        SNcCoverage coverage;
        if (m_clock->Epoch() && m_dFirstTime) {
            coverage.dEpoch = *m_clock->Epoch();
            coverage.dFirst = *m_dFirstTime;
            coverage.dLast = m_dLastTime;
            coverage.dResolution = m_dInterval;
        }
        WriteClosingGlobals(m_file, coverage, m_damage);
        m_file.Close();
    }

    CInsFile& m_reader;
    const std::string& m_strOutput;
    const SNcOptions& m_options;
    CPercentProgress m_progress;
    const bool m_bWaveMode;
    CWaveBursts m_bursts;
    const int m_nBeams;
    const int m_nCoordinateSystem;
    const double m_dInterval;

    CNcFile m_file;
    SPeloraNcVariables m_variables;
    std::optional<CNcRecordClock> m_clock;
    CSampleClock m_currentClock;
    CSampleClock m_waveClock;
    double m_dWaveSpacing = kDefaultWaveSpacing;
    std::uint64_t m_nBursts = 0;
    // The wave samples of the open burst, at most as many as a burst announces.
    std::vector<SPendingWave> m_pending;
    std::optional<double> m_dFirstTime;
    double m_dLastTime = 0.0;
    CDamageSince m_damagedBeforeCurrent;
    CDamageSince m_damagedBeforeWave;
    SNcDamage m_damage;

    CNcBlockWriter m_current;
    SSeriesColumns m_currentColumns;
    SNcStateColumns m_state;
    CNcBlockWriter m_wave;
    SSeriesColumns m_waveColumns;
    CNcColumn<std::int32_t>* m_burstColumn = nullptr;
};

}  // namespace

SFileOutcome PldToNc(CInsFile& reader, const std::string& strOutputPath,
                     const SNcOptions& options) {
    return CPeloraNcConversion(reader, strOutputPath, options).Run();
}

}  // namespace sulvan
