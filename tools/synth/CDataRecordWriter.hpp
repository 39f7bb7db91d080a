#pragma once
// The way every generator's data records reach the file: the configuration block where the
// options place it, each record sealed (or damaged as the options ask), garbage after some of
// them, and the end of the recording when the size limit is reached.

#include <cstdint>
#include <optional>
#include <span>

#include "CPseudoRandom.hpp"
#include "CRecordingOutput.hpp"
#include "RecordBuilder.hpp"
#include "SRecordingOptions.hpp"

namespace sulvan::synth {

// What a recording received. Record counts include records in a truncated tail.
struct SSynthSummary {
    std::uint64_t nBytes = 0;  // length of the file written
    std::uint64_t nDataRecords = 0;
    std::uint64_t nVelocitySamples = 0;
    std::uint64_t nSystemSamples = 0;
    std::uint64_t nBurstHeaders = 0;
    std::uint64_t nWaveSamples = 0;  // Pelora 0x80 records, among the velocity samples
    std::uint64_t nBadChecksums = 0;
    std::uint64_t nGarbageRuns = 0;
    // Where the configuration block starts; empty when there is none.
    std::optional<std::uint64_t> nConfigurationOffset;
};

class CDataRecordWriter {
  public:
    // configuration: the block as the options place it (empty for none).
    CDataRecordWriter(const SRecordingOptions& options, records::Bytes configuration);

    // Starts a recording on output: the standard block goes first.
    void Begin(CRecordingOutput& output);
    // Seals (or damages) the record and writes it, counting it in nCount; false when it, or the
    // garbage due after it, does not fit any more: the recording is complete.
    bool Write(records::CRecordBuilder& record, std::uint64_t& nCount);
    // Whether the recording has all the samples it was asked for.
    bool HasAllSamples() const {
        return m_options.nSamples != 0 && m_summary.nVelocitySamples == m_options.nSamples;
    }
    // Writes what is still due (a misplaced block of a short recording) and ends the file.
    SSynthSummary Finish();

    SSynthSummary& Summary() { return m_summary; }

  private:
    void WriteConfiguration();
    bool WriteGarbage();
    bool Fits(std::size_t nBytes) const;

    const SRecordingOptions& m_options;
    records::Bytes m_configuration;
    CPseudoRandom m_garbageRandom;
    records::Bytes m_garbage;
    CRecordingOutput* m_pOutput = nullptr;
    bool m_bConfigurationPending = false;
    SSynthSummary m_summary;
};

}  // namespace sulvan::synth
