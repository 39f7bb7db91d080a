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

#include "CDataRecordWriter.hpp"
#include "CSampleValues.hpp"
#include "RecordBuilder.hpp"
#include "STarsisOptions.hpp"

namespace sulvan::synth {

class CTarsisGenerator {
  public:
    // Throws std::invalid_argument with the problem DescribeProblem names.
    explicit CTarsisGenerator(const STarsisOptions& options);

    // Creates or replaces the file; each call writes the same recording. Throws FileError.
    SSynthSummary Write(const std::string& strPath);

  private:
    void Restart();
    // One velocity sample with the header and system sample due before it. False when the
    // recording is complete.
    bool WriteNextSample();
    ClockBytes ClockAfter(std::uint64_t nSeconds) const;

    STarsisOptions m_options;
    bool m_bBurstHeaders;
    std::uint64_t m_nBurstLength;   // 0 for continuous sampling
    std::uint64_t m_nSystemEvery;   // velocity samples per system sample
    std::uint64_t m_nBurstSpacing;  // seconds from one burst start to the next
    double m_dStart;

    CDataRecordWriter m_writer;
    CSampleValues m_values;
    records::CRecordBuilder m_velocity;
    records::CRecordBuilder m_system;
    records::CRecordBuilder m_header;
    std::uint64_t m_nInBurst = 0;  // with continuous sampling: since the start
    std::uint64_t m_nBurst = 0;
};

}  // namespace sulvan::synth
