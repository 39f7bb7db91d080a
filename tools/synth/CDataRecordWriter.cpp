#include "CDataRecordWriter.hpp"

#include "format/RecordCatalogue.hpp"

namespace sulvan::synth {
namespace {

// Garbage draws from a stream of its own, so that damage leaves the sample values as they are.
constexpr std::uint64_t kGarbageSeedOffset = 0x5EED;

bool IsDue(std::uint64_t nIndex, std::uint64_t nEvery) {
    return nEvery != 0 && nIndex % nEvery == 0;
}

}  // namespace

CDataRecordWriter::CDataRecordWriter(const SRecordingOptions& options, records::Bytes configuration)
    : m_options(options),
      m_configuration(std::move(configuration)),
      m_garbageRandom(options.nSeed + kGarbageSeedOffset),
      m_garbage(options.nGarbageBytes) {}

void CDataRecordWriter::Begin(CRecordingOutput& output) {
    m_pOutput = &output;
    m_garbageRandom = CPseudoRandom(m_options.nSeed + kGarbageSeedOffset);
    m_summary = {};
    m_bConfigurationPending = m_options.configuration == EConfigPlacement::Misplaced;
    if (!m_bConfigurationPending) {
        WriteConfiguration();
    }
}

bool CDataRecordWriter::Write(records::CRecordBuilder& record, std::uint64_t& nCount) {
    if (m_bConfigurationPending && m_summary.nDataRecords == kMisplacedAfterRecords) {
        WriteConfiguration();
    }
    if (!Fits(record.Size())) {
        return false;
    }
    const std::uint64_t nIndex = ++m_summary.nDataRecords;
    const bool bBadChecksum = IsDue(nIndex, m_options.nBadChecksumEvery);
    record.CorruptChecksum(bBadChecksum);
    m_pOutput->Append(record.Seal());
    ++nCount;
    if (bBadChecksum) {
        ++m_summary.nBadChecksums;
    }
    return !IsDue(nIndex, m_options.nGarbageEvery) || WriteGarbage();
}

SSynthSummary CDataRecordWriter::Finish() {
    if (m_bConfigurationPending) {
        WriteConfiguration();
    }
    m_summary.nBytes = m_pOutput->Finish();
    return m_summary;
}

void CDataRecordWriter::WriteConfiguration() {
    m_bConfigurationPending = false;
    if (m_configuration.empty()) {
        return;
    }
    m_summary.nConfigurationOffset = m_pOutput->Produced();
    m_pOutput->Append(m_configuration);
}

bool CDataRecordWriter::WriteGarbage() {
    if (!Fits(m_garbage.size())) {
        return false;
    }
    for (std::uint8_t& nByte : m_garbage) {
        nByte = static_cast<std::uint8_t>(m_garbageRandom.Next());
        // Without sync bytes the garbage can start no record of its own.
        if (nByte == kSyncByte) {
            nByte = static_cast<std::uint8_t>(~kSyncByte);
        }
    }
    m_pOutput->Append(m_garbage);
    ++m_summary.nGarbageRuns;
    return true;
}

bool CDataRecordWriter::Fits(std::size_t nBytes) const {
    if (m_options.nSamples != 0) {
        return true;
    }
    const std::size_t nReserved = m_bConfigurationPending ? m_configuration.size() : 0;
    return m_pOutput->Produced() + nBytes + nReserved <= m_options.nSizeLimit;
}

}  // namespace sulvan::synth
