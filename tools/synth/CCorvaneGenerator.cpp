#include "CCorvaneGenerator.hpp"

#include <stdexcept>

namespace sulvan::synth {
namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kLateEvery = 100;  // sample numbers between chunks stamped after 2999

const SCorvaneOptions& Checked(const SCorvaneOptions& options) {
    const std::string strProblem = DescribeProblem(options);
    if (!strProblem.empty()) {
        throw std::invalid_argument(strProblem);
    }
    return options;
}

bool IsDue(std::uint64_t nIndex, std::uint64_t nEvery) {
    return nEvery != 0 && nIndex % nEvery == 0;
}

}  // namespace

std::string DescribeProblem(const SCorvaneOptions& options) {
    if (options.nProbes < 1 || options.nProbes > kMaxProbes) {
        return "the number of probes must be 1 to " + std::to_string(kMaxProbes);
    }
    if (options.nBeams < 1 || options.nBeams > 4 || options.nCells < 1 || options.nCells > 8) {
        return "a probe has 1 to 4 beams and 1 to 8 cells";
    }
    if (options.nSamplingRate < 1 || options.nSamplingRate > 100) {
        return "the sampling rate must be 1 to 100 Hz";
    }
    if (options.nLaggingProbe >= options.nProbes || options.nLag < 0 || options.nLag > kMaxLag) {
        return "the lagging probe must be one of the probes, lagging 0 to " +
               std::to_string(kMaxLag) + " samples";
    }
    if (options.nMissingProbe < 0 || options.nMissingProbe >= options.nProbes) {
        return "the missing probe must be one of the probes";
    }
    return {};
}

CCorvaneGenerator::CCorvaneGenerator(const SCorvaneOptions& options)
    : m_options(Checked(options)), m_nStart(records::FileTimeOf(2010, 5, 17, 13, 45, 30, 250)) {
    const auto nEntries = static_cast<std::size_t>(options.nBeams * options.nCells);
    m_sample.nBeams = options.nBeams;
    m_sample.nCells = options.nCells;
    m_sample.velocities.assign(nEntries, 0);
    m_sample.amplitudes.assign(nEntries, 0);
    m_sample.correlations.assign(nEntries, 0);
}

SCorvaneSummary CCorvaneGenerator::Write(const std::string& strPath) {
    CBinaryFile file;
    file.Open(strPath, CBinaryFile::EOpenMode::Create);
    CRecordingOutput output(file, 0);
    m_pOutput = &output;
    m_random = CPseudoRandom(m_options.nSeed);
    m_lagging.clear();
    m_summary = {};
    output.Append(
        records::CorvaneHeader(Configuration(), m_nStart, "Sulvan Miravelo", m_options.bWideText));
    for (std::uint64_t n = 1; m_options.nSamples == 0 || n <= m_options.nSamples; ++n) {
        if (!WriteSampleNumber(n)) {
            break;
        }
    }
    while (!m_lagging.empty() && Append(m_lagging.front())) {
        m_lagging.pop_front();
    }
    m_summary.nBytes = output.Finish();
    file.Close();
    return m_summary;
}

std::string CCorvaneGenerator::Configuration() const {
    std::string strXml =
        "<?xml version=\"1.0\"?>\n<MIRAVELO type=\"Sulvan Miravelo\" version=\"1\">\n<COMMON>"
        "<BAUD_RATE>115200</BAUD_RATE><SAMPLING_RATE>" +
        std::to_string(m_options.nSamplingRate) +
        "</SAMPLING_RATE><TEMPERATURE measured=\"1\">12.5</TEMPERATURE>"
        "<SALINITY>35</SALINITY><SOUND_SPEED measured=\"1\">1493.2</SOUND_SPEED></COMMON>\n";
    for (int p = 0; p < m_options.nProbes; ++p) {
        const std::string strNumber = std::to_string(100123 + p);
        strXml += "<PROBE><TYPE>1</TYPE><SERIAL_NUMBER>MRV-" + strNumber +
                  "</SERIAL_NUMBER><PORT>COM" + std::to_string(p + 3) +
                  "</PORT><VELOCITY_RANGE>4</VELOCITY_RANGE><SAMPLING_VOLUME>14"
                  "</SAMPLING_VOLUME><TRANSMIT_LENGTH>3</TRANSMIT_LENGTH><POWER_LEVEL>1"
                  "</POWER_LEVEL><COORDINATE_SYSTEM>1</COORDINATE_SYSTEM><SYNC_MASTER>" +
                  std::string(p == 0 ? "1" : "0") +
                  "</SYNC_MASTER><START_ON_SYNC>1</START_ON_SYNC><SAMPLE_ON_SYNC>0"
                  "</SAMPLE_ON_SYNC></PROBE>\n";
    }
    return strXml + "</MIRAVELO>\n";
}

bool CCorvaneGenerator::WriteSampleNumber(std::uint64_t n) {
    const std::uint64_t nTimeStamp =
        m_nStart + n * kTicksPerSecond / static_cast<std::uint64_t>(m_options.nSamplingRate);
    for (int p = 0; p < m_options.nProbes; ++p) {
        if (p == m_options.nMissingProbe && IsDue(n, m_options.nMissingEvery)) {
            continue;
        }
        if (p == 0 && IsDue(n, m_options.nSkipRecordsEvery)) {
            const auto nId =
                static_cast<std::uint8_t>((n / m_options.nSkipRecordsEvery) % 2 == 0 ? 0x91 : 0x81);
            ++m_summary.nOtherRecords;
            if (!Append(records::CorvaneChunk(0, nTimeStamp, records::Bytes{0xA5, nId, 0, 0}))) {
                return false;
            }
            continue;
        }
        const records::Bytes chunk = VelocityChunk(p, nTimeStamp);
        if (p == m_options.nLaggingProbe && m_options.nLag > 0) {
            m_lagging.push_back(chunk);
            if (m_lagging.size() <= static_cast<std::size_t>(m_options.nLag)) {
                continue;
            }
            const records::Bytes due = std::move(m_lagging.front());
            m_lagging.pop_front();
            if (!Append(due)) {
                return false;
            }
            continue;
        }
        if (!Append(chunk)) {
            return false;
        }
    }
    if (IsDue(n, m_options.nTimeMarksEvery)) {
        ++m_summary.nOtherRecords;
        if (!Append(records::CorvaneChunk(0, nTimeStamp, records::Bytes{0x0F, 0, 1, 2}))) {
            return false;
        }
    }
    if (IsDue(n, kLateEvery) && n / kLateEvery <= m_options.nLateStamps) {
        return Append(VelocityChunk(0, records::FileTimeOf(3001, 1, 1, 0, 0, 0)));
    }
    return true;
}

records::Bytes CCorvaneGenerator::VelocityChunk(int nProbe, std::uint64_t nTimeStamp) {
    for (std::size_t i = 0; i < m_sample.velocities.size(); ++i) {
        m_sample.velocities[i] = static_cast<std::int16_t>(m_random.Between(-1500, 1500));
        m_sample.amplitudes[i] = static_cast<std::uint8_t>(m_random.Between(80, 140));
        m_sample.correlations[i] = static_cast<std::uint8_t>(m_random.Between(55, 99));
    }
    ++m_summary.nVelocityRecords;
    return records::CorvaneChunk(static_cast<std::uint16_t>(nProbe), nTimeStamp,
                                 records::ProbeVelocityRecord(m_sample));
}

bool CCorvaneGenerator::Append(const records::Bytes& chunk) {
    if (m_options.nSamples == 0 && m_pOutput->Produced() + chunk.size() > m_options.nSizeLimit) {
        return false;
    }
    ++m_summary.nChunks;
    if (m_summary.nChunks == m_options.nDamagedChunkAt) {
        records::Bytes damaged = chunk;
        damaged[10] = 0xFF;
        damaged[11] = 0xFF;
        m_pOutput->Append(damaged);
    } else {
        m_pOutput->Append(chunk);
    }
    return true;
}

}  // namespace sulvan::synth
