#pragma once
// The chunks of a Corvane recording as its conversions take them. Each probe numbers its
// samples from 1: a velocity record (0x51) takes the probe's next number and supplies its
// sample, a record 0x81 or 0x91 takes a number without a sample. Time marks (0x0F) are counted.
// A chunk stamped after 2999 is damage and passed over; twice as many of them as there are
// probes are tolerated, the next one ends the recording. What the walk passes over (late chunks,
// and the rest of the file after the chunk that ended it early or a cut-off tail) is damage.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "convert/ProbeVelocityRecord.hpp"
#include "platform/DamageReport.hpp"

namespace sulvan {

class CCorvaneFile;

// A chunk that took a sample number.
struct SCorvaneTake {
    std::size_t nProbe = 0;
    std::int32_t nSample = 0;  // the probe's sample number, from 1
    std::uint64_t nTimeStamp = 0;
    std::uint8_t nId = 0;
    // The sample, pointing into the reader's window (valid until the next step); empty for a
    // record that takes a number only, a velocity record stamped before 1900 and one that is
    // no velocity record after all (or shorter than its status word says).
    std::optional<SProbeVelocityRecord> sample;
};

class CCorvaneSampleWalk {
  public:
    // Walks from the reader's current chunk; chunks of probes at or above nProbes take no number.
    CCorvaneSampleWalk(CCorvaneFile& input, std::size_t nProbes);

    // The next chunk that takes a sample number; false at the end of the data.
    bool Next(SCorvaneTake& take);

    std::uint32_t TimeMarks() const { return m_nTimeMarks; }
    // The highest number any probe has taken; 0 before the first.
    std::int32_t LastSample() const { return m_nLastSample; }
    // Chunks passed over for a stamp after 2999, and whether they ended the walk before the
    // end of the data.
    std::uint64_t LateStamps() const { return m_nLateStamps; }
    bool EndedByLateStamps() const { return m_bEndedByLateStamps; }
    // What the walk passed over; whole once Next() has returned false.
    const SDamageReport& Damage() const { return m_damage; }

  private:
    void SkipCurrentChunk();
    // After the last chunk: the unread rest of the file, and the span still open.
    void CloseDamage();
    // Skipped chunks next to each other are one span.
    void SkipBytes(std::uint64_t nStart, std::uint64_t nBytes);

    CCorvaneFile& m_input;
    std::vector<std::int32_t> m_counts;
    std::size_t m_nLateBudget;
    bool m_bStarted = false;
    bool m_bEnded = false;
    std::uint32_t m_nTimeMarks = 0;
    std::int32_t m_nLastSample = 0;
    std::uint64_t m_nLateStamps = 0;
    bool m_bEndedByLateStamps = false;
    SDamageReport m_damage;
    // The span of skipped chunks that the next skipped chunk may extend; empty while 0.
    std::uint64_t m_nSkipStart = 0;
    std::uint64_t m_nSkipEnd = 0;
};

}  // namespace sulvan
