#include "convert/CCorvaneSampleWalk.hpp"

#include <algorithm>

#include "convert/CCorvaneFile.hpp"

namespace sulvan {
namespace {

namespace ChunkId {
constexpr std::uint8_t TimeMark = 0x0F;
constexpr std::uint8_t Velocity = 0x51;
constexpr std::uint8_t NumberOnly1 = 0x81;
constexpr std::uint8_t NumberOnly2 = 0x91;
}  // namespace ChunkId

}  // namespace

CCorvaneSampleWalk::CCorvaneSampleWalk(CCorvaneFile& input, std::size_t nProbes)
    : m_input(input), m_counts(nProbes, 0), m_nLateBudget(2 * nProbes) {}

bool CCorvaneSampleWalk::Next(SCorvaneTake& take) {
    // The chunk handed out last stays current until now, so that its record can be looked at.
    if (m_bEnded) {
        return false;
    }
    if (m_bStarted) {
        m_input.Next();
    }
    m_bStarted = true;
    for (; m_input.Length() != 0; m_input.Next()) {
        const std::uint64_t nStamp = m_input.TimeStamp();
        if (nStamp > kCorvaneLatestStamp) {
            if (m_nLateBudget == 0) {
                m_bEndedByLateStamps = true;
                break;
            }
            --m_nLateBudget;
            ++m_nLateStamps;
            SkipCurrentChunk();
            continue;
        }
        const std::uint8_t nId = m_input.Id();
        if (nId == ChunkId::TimeMark) {
            ++m_nTimeMarks;
            continue;
        }
        const std::size_t nProbe = m_input.ProbeIndex();
        const bool bTakesNumber =
            nId == ChunkId::Velocity || nId == ChunkId::NumberOnly1 || nId == ChunkId::NumberOnly2;
        if (!bTakesNumber || nProbe >= m_counts.size()) {
            continue;
        }
        take.nProbe = nProbe;
        take.nSample = ++m_counts[nProbe];
        take.nTimeStamp = nStamp;
        take.nId = nId;
        take.sample.reset();
        m_nLastSample = std::max(m_nLastSample, take.nSample);
        if (nId == ChunkId::Velocity && nStamp >= kCorvaneEarliestStamp) {
            take.sample = ReadProbeVelocityRecord(m_input.Data());
        }
        return true;
    }
    CloseDamage();
    return false;
}

void CCorvaneSampleWalk::SkipCurrentChunk() {
    SkipBytes(m_input.ChunkStart(), kCorvaneChunkHeaderSize + std::uint64_t{m_input.Length()} * 2);
}

void CCorvaneSampleWalk::CloseDamage() {
    m_bEnded = true;
    if (m_input.Length() != 0 || m_input.IsCutShort()) {
        SkipBytes(m_input.ChunkStart(), m_input.FileSize() - m_input.ChunkStart());
    }
    if (m_nSkipEnd != 0) {
        m_damage.AddSpan(m_nSkipEnd - m_nSkipStart);
    }
}

void CCorvaneSampleWalk::SkipBytes(std::uint64_t nStart, std::uint64_t nBytes) {
    if (m_nSkipEnd == 0) {
        m_nSkipStart = nStart;
    } else if (nStart != m_nSkipEnd) {
        m_damage.AddSpan(m_nSkipEnd - m_nSkipStart);
        m_nSkipStart = nStart;
    }
    m_nSkipEnd = nStart + nBytes;
}

}  // namespace sulvan
