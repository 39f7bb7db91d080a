#pragma once
// The merge of the probes' velocity samples into .adv records: one record per sample number,
// each probe's k-th sample in record k. A probe whose sample k has not come when record k is
// written keeps its previous sample there, which counts as missing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/AdvLayout.hpp"

namespace sulvan {

class CBinaryFile;

using KvtSlot = std::array<std::uint8_t, kAdvSampleSize>;

// One output record in the making.
struct KvtSampleType {
    std::int32_t nSample = 0;
    std::array<bool, kAdvMaxProbes> present{};  // the probe's own sample is in its slot
    std::array<KvtSlot, kAdvMaxProbes> slots{};
};
static_assert(sizeof(std::array<KvtSlot, kAdvMaxProbes>) == kAdvMaxProbes * kAdvSampleSize,
              "the slots are written as one run of bytes");

class KvtSampleMap {
  public:
    // Files probe p's sample number c, and lends it to number c + 1 until the probe's own sample
    // c + 1 comes. Numbers below the next one to write are never written: what would go there
    // is dropped, so a probe that lags for the whole recording costs no memory.
    void AddSample(const KvtSlot& sample, std::int32_t nSample, int nProbe);

    // Writes the records numbered nFirst to nLast that exist, in order, each as the slots of
    // probes 0 to nProbes - 1 and the trailer word, and forgets them. Returns the last number
    // written, -1 when none was. nFirst is the number after the last one written (0 at first).
    // Throws FileError.
    std::int32_t WriteSamples(CBinaryFile& output, std::int32_t nFirst, std::int32_t nLast,
                              std::size_t nProbes, std::uint16_t nTrailer);

    // Records written; probe samples written, and of them the padded ones per probe.
    std::uint32_t Records() const { return m_nRecords; }
    std::uint32_t Total() const { return m_nTotal; }
    std::uint32_t Missing(std::size_t nProbe) const { return m_missing[nProbe]; }

  private:
    // The entries, ascending by number, in a ring that grows only when the alignment window
    // does: records enter at the back (mostly) and leave at the front.
    KvtSampleType& At(std::size_t i) { return m_ring[(m_nHead + i) & (m_ring.size() - 1)]; }
    KvtSampleType& InsertAt(std::size_t i, std::int32_t nSample);
    // The index of entry nSample, or where it belongs.
    std::size_t Find(std::int32_t nSample) const;

    std::vector<KvtSampleType> m_ring = std::vector<KvtSampleType>(16);
    std::size_t m_nHead = 0;
    std::size_t m_nCount = 0;
    std::int32_t m_nFloor = 0;  // the lowest number still to be written
    std::uint32_t m_nRecords = 0;
    std::uint32_t m_nTotal = 0;
    std::array<std::uint32_t, kAdvMaxProbes> m_missing{};
};

}  // namespace sulvan
