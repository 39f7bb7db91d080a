#include "convert/KvtSampleMap.hpp"

#include <cstring>
#include <utility>

#include "platform/ByteOrder.hpp"
#include "platform/CBinaryFile.hpp"

namespace sulvan {

void KvtSampleMap::AddSample(const KvtSlot& sample, std::int32_t nSample, int nProbe) {
    if (nProbe < 0 || static_cast<std::size_t>(nProbe) >= kAdvMaxProbes) {
        return;
    }
    const auto p = static_cast<std::size_t>(nProbe);
    // Entry c: the probe's own sample.
    std::size_t i = Find(nSample);
    const bool bKept = nSample >= m_nFloor;
    if (bKept) {
        if (i == m_nCount || At(i).nSample != nSample) {
            InsertAt(i, nSample);
        }
        KvtSampleType& entry = At(i);
        entry.slots[p] = sample;
        entry.present[p] = true;
        ++i;
    }
    // Entry c + 1: the same sample as padding, until the probe's sample c + 1 replaces it. A new
    // entry takes the other probes' last values from entry c.
    if (nSample + 1 < m_nFloor) {
        return;
    }
    if (i == m_nCount || At(i).nSample != nSample + 1) {
        KvtSampleType& next = InsertAt(i, nSample + 1);
        if (bKept) {
            next.slots = At(i - 1).slots;
        }
    }
    KvtSampleType& next = At(i);
    next.slots[p] = sample;
    next.present[p] = false;
}

std::int32_t KvtSampleMap::WriteSamples(CBinaryFile& output, std::int32_t nFirst,
                                        std::int32_t nLast, std::size_t nProbes,
                                        std::uint16_t nTrailer) {
    // Nothing is kept below the floor, and the caller writes from it on: the entries to write
    // are the first ones, and those below nFirst do not occur.
    std::int32_t nWritten = -1;
    std::size_t i = 0;
    while (i < m_nCount && At(i).nSample < nFirst) {
        ++i;
    }
    while (i < m_nCount && At(i).nSample <= nLast) {
        const KvtSampleType& entry = At(i);
        std::uint8_t* pOut = output.WriteInPlace(nProbes * kAdvSampleSize + 2);
        // The slots lie side by side, as the record wants them.
        std::memcpy(pOut, entry.slots.data(), nProbes * kAdvSampleSize);
        WriteU16Le(pOut + nProbes * kAdvSampleSize, nTrailer);
        for (std::size_t p = 0; p < nProbes; ++p) {
            m_missing[p] += entry.present[p] ? 0u : 1u;
        }
        m_nTotal += static_cast<std::uint32_t>(nProbes);
        ++m_nRecords;
        nWritten = entry.nSample;
        ++i;
    }
    if (nWritten >= 0) {
        m_nHead = (m_nHead + i) & (m_ring.size() - 1);
        m_nCount -= i;
        m_nFloor = nWritten + 1;
    }
    return nWritten;
}

std::size_t KvtSampleMap::Find(std::int32_t nSample) const {
    // From the back: new numbers mostly belong at the end.
    std::size_t i = m_nCount;
    while (i > 0 && m_ring[(m_nHead + i - 1) & (m_ring.size() - 1)].nSample >= nSample) {
        --i;
    }
    return i;
}

KvtSampleType& KvtSampleMap::InsertAt(std::size_t i, std::int32_t nSample) {
    if (m_nCount == m_ring.size()) {
        std::vector<KvtSampleType> grown(m_ring.size() * 2);
        for (std::size_t k = 0; k < m_nCount; ++k) {
            grown[k] = At(k);
        }
        m_ring = std::move(grown);
        m_nHead = 0;
    }
    for (std::size_t k = m_nCount; k > i; --k) {
        At(k) = At(k - 1);
    }
    ++m_nCount;
    KvtSampleType& entry = At(i);
    entry = KvtSampleType{};
    entry.nSample = nSample;
    return entry;
}

}  // namespace sulvan
