#include "CTarsisGenerator.hpp"

#include <algorithm>
#include <stdexcept>

#include "format/RecordCatalogue.hpp"

namespace sulvan::synth {
namespace {

constexpr std::uint64_t kRateNumerator = 512;  // the sampling rate is 512 / divisor Hz
constexpr double kSecondsPerDay = 86400.0;
// Garbage draws from a stream of its own, so that damage leaves the sample values as they are.
constexpr std::uint64_t kGarbageSeedOffset = 0x5EED;

const STarsisOptions& Checked(const STarsisOptions& options) {
    const std::string strProblem = DescribeProblem(options);
    if (!strProblem.empty()) {
        throw std::invalid_argument(strProblem);
    }
    return options;
}

test::SHeadOptions HeadOptionsOf(const STarsisOptions& options) {
    test::SHeadOptions head;
    head.nBeams = options.nBeams;
    head.bCompass = options.bCompass;
    return head;
}

test::SUserOptions UserOptionsOf(const STarsisOptions& options) {
    test::SUserOptions user;
    user.nBeams = options.nBeams;
    user.nRateDivisor = options.nRateDivisor;
    user.nBurstSamples = static_cast<std::uint16_t>(options.bBurst ? options.nBurstSamples : 0);
    // The instrument's own default: earth coordinates with a compass, beam coordinates without.
    user.nCoordinateSystem = options.bCompass ? 0 : 1;
    return user;
}

test::Bytes ConfigurationOf(const STarsisOptions& options) {
    constexpr std::string_view kSerial = "TRS 1001";
    switch (options.configuration) {
        case EConfigPlacement::Missing:
            return {};
        case EConfigPlacement::NoUser: {
            test::Bytes bytes;
            test::HardwareConfig(kSerial, options.strFirmware).AppendTo(bytes);
            test::HeadConfig(HeadOptionsOf(options)).AppendTo(bytes);
            return bytes;
        }
        case EConfigPlacement::Standard:
        case EConfigPlacement::Misplaced:
            break;
    }
    return test::StandardConfiguration(kSerial, options.strFirmware, HeadOptionsOf(options),
                                       UserOptionsOf(options));
}

test::SVelocitySample ZeroSample(int nBeams) {
    const auto nCount = static_cast<std::size_t>(nBeams);
    return {std::vector<std::int16_t>(nCount), std::vector<std::uint8_t>(nCount),
            std::vector<std::uint8_t>(nCount)};
}

bool IsDue(std::uint64_t nIndex, std::uint64_t nEvery) {
    return nEvery != 0 && nIndex % nEvery == 0;
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
      m_configuration(ConfigurationOf(options)),
      m_values(options.nBeams, options.bCompass, options.nSeed),
      m_garbageRandom(options.nSeed + kGarbageSeedOffset),
      m_velocity(test::VelocitySample(ZeroSample(options.nBeams))),
      m_system(test::SystemSample()),
      m_header(test::VelocityHeader(kInvalidClock, 0)),
      m_garbage(options.nGarbageBytes) {}

SSynthSummary CTarsisGenerator::Write(const std::string& strPath) {
    CBinaryFile file;
    file.Open(strPath, CBinaryFile::EOpenMode::Create);
    CRecordingOutput output(file, m_options.nTruncateBytes);
    Restart();
    if (!m_bConfigurationPending) {
        WriteConfiguration(output);
    }
    while (WriteNextSample(output)) {
    }
    if (m_bConfigurationPending) {
        WriteConfiguration(output);
    }
    m_summary.nBytes = output.Finish();
    file.Close();
    return m_summary;
}

void CTarsisGenerator::Restart() {
    m_values = CTarsisSampleValues(m_options.nBeams, m_options.bCompass, m_options.nSeed);
    m_garbageRandom = CPseudoRandom(m_options.nSeed + kGarbageSeedOffset);
    m_nInBurst = 0;
    m_nBurst = 0;
    m_bConfigurationPending = m_options.configuration == EConfigPlacement::Misplaced;
    m_summary = {};
}

void CTarsisGenerator::WriteConfiguration(CRecordingOutput& output) {
    m_bConfigurationPending = false;
    if (m_configuration.empty()) {
        return;
    }
    m_summary.nConfigurationOffset = output.Produced();
    output.Append(m_configuration);
}

bool CTarsisGenerator::WriteNextSample(CRecordingOutput& output) {
    if (m_options.nSamples != 0 && m_summary.nVelocitySamples == m_options.nSamples) {
        return false;
    }
    const std::uint64_t nBurstStart = m_nBurst * m_nBurstSpacing;
    if (m_nInBurst == 0 && m_bBurstHeaders) {
        test::FillVelocityHeader(m_header, ClockAfter(nBurstStart),
                                 static_cast<std::uint16_t>(m_nBurstLength));
        if (!WriteData(output, m_header, m_summary.nBurstHeaders)) {
            return false;
        }
    }
    if (m_nInBurst % m_nSystemEvery == 0) {
        const std::uint64_t nSeconds =
            nBurstStart + m_nInBurst * m_options.nRateDivisor / kRateNumerator;
        test::FillSystemSample(m_system, m_values.NextSystemSample(ClockAfter(nSeconds)));
        if (!WriteData(output, m_system, m_summary.nSystemSamples)) {
            return false;
        }
    }
    test::FillVelocitySample(m_velocity, m_values.NextVelocitySample());
    if (!WriteData(output, m_velocity, m_summary.nVelocitySamples)) {
        return false;
    }
    if (++m_nInBurst == m_nBurstLength) {
        m_nInBurst = 0;
        ++m_nBurst;
    }
    return true;
}

bool CTarsisGenerator::WriteData(CRecordingOutput& output, test::CRecordBuilder& record,
                                 std::uint64_t& nCount) {
    if (m_bConfigurationPending && m_summary.nDataRecords == kMisplacedAfterRecords) {
        WriteConfiguration(output);
    }
    if (!Fits(output, record.Size())) {
        return false;
    }
    const std::uint64_t nIndex = ++m_summary.nDataRecords;
    const bool bBadChecksum = IsDue(nIndex, m_options.nBadChecksumEvery);
    record.CorruptChecksum(bBadChecksum);
    output.Append(record.Seal());
    ++nCount;
    if (bBadChecksum) {
        ++m_summary.nBadChecksums;
    }
    return !IsDue(nIndex, m_options.nGarbageEvery) || WriteGarbage(output);
}

bool CTarsisGenerator::WriteGarbage(CRecordingOutput& output) {
    if (!Fits(output, m_garbage.size())) {
        return false;
    }
    for (std::uint8_t& nByte : m_garbage) {
        nByte = static_cast<std::uint8_t>(m_garbageRandom.Next());
        // Without sync bytes the garbage can start no record of its own.
        if (nByte == kSyncByte) {
            nByte = static_cast<std::uint8_t>(~kSyncByte);
        }
    }
    output.Append(m_garbage);
    ++m_summary.nGarbageRuns;
    return true;
}

bool CTarsisGenerator::Fits(const CRecordingOutput& output, std::size_t nBytes) const {
    if (m_options.nSamples != 0) {
        return true;
    }
    const std::size_t nReserved = m_bConfigurationPending ? m_configuration.size() : 0;
    return output.Produced() + nBytes + nReserved <= m_options.nSizeLimit;
}

ClockBytes CTarsisGenerator::ClockAfter(std::uint64_t nSeconds) const {
    return EncodeClock(m_dStart + static_cast<double>(nSeconds) / kSecondsPerDay);
}

}  // namespace sulvan::synth
