#pragma once
// Writes a synthetic Tarsis recording as the instrument would: the configuration block where
// the options place it, then the data records - in burst mode each burst opening with a
// velocity sample header (firmware 1.08 and later), a system sample about once a second, the
// velocity samples between them - and then the damage the options ask for. The recording is
// streamed, so its length does not change what the generator holds in memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "CPseudoRandom.hpp"
#include "CRecordingOutput.hpp"
#include "CTarsisSampleValues.hpp"
#include "RecordBuilder.hpp"
#include "STarsisOptions.hpp"

namespace sulvan::synth {

// What a recording received. Record counts include records in a truncated tail.
struct SSynthSummary {
    std::uint64_t nBytes = 0;  // length of the file written
    std::uint64_t nDataRecords = 0;
    std::uint64_t nVelocitySamples = 0;
    std::uint64_t nSystemSamples = 0;
    std::uint64_t nBurstHeaders = 0;
    std::uint64_t nBadChecksums = 0;
    std::uint64_t nGarbageRuns = 0;
    // Where the configuration block starts; empty when there is none.
    std::optional<std::uint64_t> nConfigurationOffset;
};

class CTarsisGenerator {
  public:
    // Throws std::invalid_argument with the problem DescribeProblem names.
    explicit CTarsisGenerator(const STarsisOptions& options);

    // Creates or replaces the file; each call writes the same recording. Throws FileError.
    SSynthSummary Write(const std::string& strPath);

  private:
    void Restart();
    void WriteConfiguration(CRecordingOutput& output);
    // One velocity sample with the header and system sample due before it. False when the
    // recording is complete.
    bool WriteNextSample(CRecordingOutput& output);
    // False when the record or the garbage due after it does not fit any more.
    bool WriteData(CRecordingOutput& output, test::CRecordBuilder& record, std::uint64_t& nCount);
    bool WriteGarbage(CRecordingOutput& output);
    bool Fits(const CRecordingOutput& output, std::size_t nBytes) const;
    ClockBytes ClockAfter(std::uint64_t nSeconds) const;

    STarsisOptions m_options;
    bool m_bBurstHeaders;
    std::uint64_t m_nBurstLength;   // 0 for continuous sampling
    std::uint64_t m_nSystemEvery;   // velocity samples per system sample
    std::uint64_t m_nBurstSpacing;  // seconds from one burst start to the next
    double m_dStart;
    test::Bytes m_configuration;

    CTarsisSampleValues m_values;
    CPseudoRandom m_garbageRandom;
    test::CRecordBuilder m_velocity;
    test::CRecordBuilder m_system;
    test::CRecordBuilder m_header;
    test::Bytes m_garbage;
    std::uint64_t m_nInBurst = 0;  // with continuous sampling: since the start
    std::uint64_t m_nBurst = 0;
    bool m_bConfigurationPending = false;
    SSynthSummary m_summary;
};

}  // namespace sulvan::synth
