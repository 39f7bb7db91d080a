#include "format/Checksum.hpp"

#include "platform/ByteOrder.hpp"

namespace sulvan {

std::uint16_t RecordChecksum(const std::uint8_t* pRecord, std::size_t nWords) {
    std::uint32_t nSum = kChecksumSeed;
    for (std::size_t i = 0; i < nWords; ++i) {
        nSum += ReadU16Le(pRecord + 2 * i);
    }
    return static_cast<std::uint16_t>(nSum);
}

bool IsRecordIntact(std::span<const std::uint8_t> record) {
    if (record.size() < 2) {
        return false;
    }
    const std::size_t nWords = record.size() / 2 - 1;
    return RecordChecksum(record.data(), nWords) == ReadU16Le(record.data() + 2 * nWords);
}

void SealRecord(std::span<std::uint8_t> record) {
    const std::size_t nWords = record.size() / 2 - 1;
    WriteU16Le(record.data() + 2 * nWords, RecordChecksum(record.data(), nWords));
}

}  // namespace sulvan
