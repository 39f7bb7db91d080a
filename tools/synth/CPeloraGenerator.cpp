#include "CPeloraGenerator.hpp"

#include <stdexcept>

#include "config/ConfigFields.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan::synth {
namespace {

constexpr std::uint16_t kInterval = 600;  // seconds between measurements
constexpr std::uint16_t kAveraging = 60;  // seconds a velocity record averages
constexpr double kSecondsPerDay = 86400.0;
constexpr std::uint32_t kPressureScale = 100;  // the 24-bit pressure field, from the 16-bit one

const SPeloraOptions& Checked(const SPeloraOptions& options) {
    const std::string strProblem = DescribeProblem(options);
    if (!strProblem.empty()) {
        throw std::invalid_argument(strProblem);
    }
    return options;
}

records::Bytes ConfigurationOf(const SPeloraOptions& options) {
    records::SHeadOptions head;
    head.strSerial = "PLD 2001";
    head.nBeams = options.nBeams;
    head.bCompass = true;
    head.nFrequencyKhz = 2000;
    head.matrix[0] = 2896;
    records::SUserOptions user;
    user.nBeams = options.nBeams;
    user.nRateDivisor = kAveraging;
    user.nInterval = kInterval;
    user.nModeWord = options.bWaveMode ? 1u << UserField::ModeBit1 : 0u;
    user.strName = "PLD01";
    user.strComment = "Synthetic current meter deployment";
    switch (options.configuration) {
        case EConfigPlacement::Missing:
            return {};
        case EConfigPlacement::NoUser: {
            records::Bytes bytes;
            records::HardwareConfig("PLD 1001", "3.30").AppendTo(bytes);
            records::HeadConfig(head).AppendTo(bytes);
            return bytes;
        }
        case EConfigPlacement::Standard:
        case EConfigPlacement::Misplaced:
            break;
    }
    return records::StandardConfiguration("PLD 1001", "3.30", head, user);
}

records::SPeloraSample ZeroSample(int nBeams) {
    records::SPeloraSample sample;
    sample.velocities.assign(static_cast<std::size_t>(nBeams), 0);
    sample.amplitudes.assign(static_cast<std::size_t>(nBeams), 0);
    return sample;
}

}  // namespace

std::string DescribeProblem(const SPeloraOptions& options) {
    if (std::string strCommon = DescribeProblem(static_cast<const SRecordingOptions&>(options));
        !strCommon.empty()) {
        return strCommon;
    }
    if (options.nWaveSamples < 0 || options.nWaveSamples > kMaxWaveSamples) {
        return "the wave samples per burst must be 0 to " + std::to_string(kMaxWaveSamples);
    }
    return {};
}

CPeloraGenerator::CPeloraGenerator(const SPeloraOptions& options)
    : m_options(Checked(options)),
      m_dStart(DecodeClock(records::SUserOptions{}.start.data()).value()),
      m_writer(m_options, ConfigurationOf(options)),
      m_values(options.nBeams, true, options.nSeed),
      m_velocity(records::PeloraRecord(RecordId::SinglePointVelocity, ZeroSample(options.nBeams))),
      m_extended(records::PeloraRecord(RecordId::PeloraExtended, ZeroSample(options.nBeams))),
      m_wave(records::PeloraRecord(RecordId::PeloraWaveSample, ZeroSample(options.nBeams))) {}

SSynthSummary CPeloraGenerator::Write(const std::string& strPath) {
    CBinaryFile file;
    file.Open(strPath, CBinaryFile::EOpenMode::Create);
    CRecordingOutput output(file, m_options.nTruncateBytes);
    m_values = CSampleValues(m_options.nBeams, true, m_options.nSeed);
    m_nMeasurement = 0;
    m_writer.Begin(output);
    while (WriteMeasurement()) {
    }
    const SSynthSummary summary = m_writer.Finish();
    file.Close();
    return summary;
}

bool CPeloraGenerator::WriteMeasurement() {
    const bool bExtended =
        m_options.nExtendedEvery != 0 && (m_nMeasurement + 1) % m_options.nExtendedEvery == 0;
    const std::uint64_t nStart = 2 * m_nMeasurement * kInterval;
    if (!WriteRecord(bExtended ? m_extended : m_velocity, nStart)) {
        return false;
    }
    // The burst follows the averaging of the velocity record.
    const std::uint64_t nBurstStart = nStart + 2 * kAveraging;
    for (int i = 0; i < m_options.nWaveSamples; ++i) {
        if (!WriteRecord(m_wave, nBurstStart + static_cast<std::uint64_t>(i))) {
            return false;
        }
        ++m_writer.Summary().nWaveSamples;
    }
    ++m_nMeasurement;
    return true;
}

bool CPeloraGenerator::WriteRecord(records::CRecordBuilder& record, std::uint64_t nHalfSeconds) {
    if (m_writer.HasAllSamples()) {
        return false;
    }
    const ClockBytes clock =
        EncodeClock(m_dStart + static_cast<double>(nHalfSeconds / 2) / kSecondsPerDay);
    const records::SVelocitySample& velocity = m_values.NextVelocitySample();
    const records::SSystemSample& system = m_values.NextSystemSample(clock);
    records::SPeloraSample& sample = m_sample;
    sample.clock = clock;
    sample.nAnalog1 = static_cast<std::uint16_t>(velocity.nPressure / 4);
    sample.nBattery = system.nBattery;
    sample.nSoundSpeed = system.nSoundSpeed;
    sample.nHeading = system.nHeading;
    sample.nPitch = system.nPitch;
    sample.nRoll = system.nRoll;
    sample.nPressure = std::uint32_t{velocity.nPressure} * kPressureScale;
    sample.nTemperature = system.nTemperature;
    sample.velocities = velocity.velocities;
    sample.amplitudes = velocity.amplitudes;
    records::FillPeloraRecord(record, sample);
    return m_writer.Write(record, m_writer.Summary().nVelocitySamples);
}

}  // namespace sulvan::synth
