#include "CTarsisGenerator.hpp"

#include <algorithm>
#include <stdexcept>

#include "format/RecordCatalogue.hpp"

namespace sulvan::synth {
namespace {

constexpr std::uint64_t kRateNumerator = 512;  // the sampling rate is 512 / divisor Hz
constexpr double kSecondsPerDay = 86400.0;

const STarsisOptions& Checked(const STarsisOptions& options) {
    const std::string strProblem = DescribeProblem(options);
    if (!strProblem.empty()) {
        throw std::invalid_argument(strProblem);
    }
    return options;
}

records::SHeadOptions HeadOptionsOf(const STarsisOptions& options) {
    records::SHeadOptions head;
    head.nBeams = options.nBeams;
    head.bCompass = options.bCompass;
    return head;
}

records::SUserOptions UserOptionsOf(const STarsisOptions& options) {
    records::SUserOptions user;
    user.nBeams = options.nBeams;
    user.nRateDivisor = options.nRateDivisor;
    user.nBurstSamples = static_cast<std::uint16_t>(options.bBurst ? options.nBurstSamples : 0);
    // The instrument's own default: earth coordinates with a compass, beam coordinates without.
    user.nCoordinateSystem = options.bCompass ? 0 : 1;
    return user;
}

records::Bytes ConfigurationOf(const STarsisOptions& options) {
    constexpr std::string_view kSerial = "TRS 1001";
    switch (options.configuration) {
        case EConfigPlacement::Missing:
            return {};
        case EConfigPlacement::NoUser: {
            records::Bytes bytes;
            records::HardwareConfig(kSerial, options.strFirmware).AppendTo(bytes);
            records::HeadConfig(HeadOptionsOf(options)).AppendTo(bytes);
            return bytes;
        }
        case EConfigPlacement::Standard:
        case EConfigPlacement::Misplaced:
            break;
    }
    return records::StandardConfiguration(kSerial, options.strFirmware, HeadOptionsOf(options),
                                          UserOptionsOf(options));
}

records::SVelocitySample ZeroSample(int nBeams) {
    const auto nCount = static_cast<std::size_t>(nBeams);
    return {std::vector<std::int16_t>(nCount), std::vector<std::uint8_t>(nCount),
            std::vector<std::uint8_t>(nCount)};
}

}  // namespace

CTarsisGenerator::CTarsisGenerator(const STarsisOptions& options)
    : m_options(Checked(options)),
      m_bBurstHeaders(WritesBurstHeaders(options)),
      m_nBurstLength(options.bBurst ? static_cast<std::uint64_t>(options.nBurstSamples) : 0),
      // About once a second: the nearest whole number of samples, at least one.
      m_nSystemEvery(std::max<std::uint64_t>(
          1, (kRateNumerator + options.nRateDivisor / 2u) / options.nRateDivisor)),
      // The measurement interval, or back to back when a burst lasts longer.
      m_nBurstSpacing(std::max<std::uint64_t>(
          UserOptionsOf(options).nInterval,
          (m_nBurstLength * options.nRateDivisor + kRateNumerator - 1) / kRateNumerator)),
      m_dStart(DecodeClock(UserOptionsOf(options).start.data()).value()),
      m_writer(m_options, ConfigurationOf(options)),
      m_values(options.nBeams, options.bCompass, options.nSeed),
      m_velocity(records::VelocitySample(ZeroSample(options.nBeams))),
      m_system(records::SystemSample()),
      m_header(records::VelocityHeader(kInvalidClock, 0)) {}

SSynthSummary CTarsisGenerator::Write(const std::string& strPath) {
    CBinaryFile file;
    file.Open(strPath, CBinaryFile::EOpenMode::Create);
    CRecordingOutput output(file, m_options.nTruncateBytes);
    Restart();
    m_writer.Begin(output);
    while (WriteNextSample()) {
    }
    const SSynthSummary summary = m_writer.Finish();
    file.Close();
    return summary;
}

void CTarsisGenerator::Restart() {
    m_values = CSampleValues(m_options.nBeams, m_options.bCompass, m_options.nSeed);
    m_nInBurst = 0;
    m_nBurst = 0;
}

bool CTarsisGenerator::WriteNextSample() {
    if (m_writer.HasAllSamples()) {
        return false;
    }
    SSynthSummary& summary = m_writer.Summary();
    const std::uint64_t nBurstStart = m_nBurst * m_nBurstSpacing;
    if (m_nInBurst == 0 && m_bBurstHeaders) {
        records::FillVelocityHeader(m_header, ClockAfter(nBurstStart),
                                    static_cast<std::uint16_t>(m_nBurstLength));
        if (!m_writer.Write(m_header, summary.nBurstHeaders)) {
            return false;
        }
    }
    if (m_nInBurst % m_nSystemEvery == 0) {
        const std::uint64_t nSeconds =
            nBurstStart + m_nInBurst * m_options.nRateDivisor / kRateNumerator;
        records::FillSystemSample(m_system, m_values.NextSystemSample(ClockAfter(nSeconds)));
        if (!m_writer.Write(m_system, summary.nSystemSamples)) {
            return false;
        }
    }
    records::FillVelocitySample(m_velocity, m_values.NextVelocitySample());
    if (!m_writer.Write(m_velocity, summary.nVelocitySamples)) {
        return false;
    }
    if (++m_nInBurst == m_nBurstLength) {
        m_nInBurst = 0;
        ++m_nBurst;
    }
    return true;
}

ClockBytes CTarsisGenerator::ClockAfter(std::uint64_t nSeconds) const {
    return EncodeClock(m_dStart + static_cast<double>(nSeconds) / kSecondsPerDay);
}

}  // namespace sulvan::synth
