#include "convert/ProbeVelocityRecord.hpp"

#include "format/RecordFields.hpp"

namespace sulvan {
namespace {

constexpr std::uint16_t kFirstWord = 0x51A5;
constexpr std::size_t kArrays = 4;
// Status word: beams - 1 in bits 0-1, cells - 1 in bits 2-4, the fine scale in bit 5.
constexpr std::uint16_t kBeamsMask = 0x3;
constexpr int kCellsShift = 2;
constexpr std::uint16_t kCellsMask = 0x7;
constexpr std::uint16_t kFineScaleBit = 0x20;

}  // namespace

std::optional<SProbeVelocityRecord> ReadProbeVelocityRecord(std::span<const std::uint8_t> record) {
    if (record.size() < kArrays || ReadU16Le(record.data()) != kFirstWord) {
        return std::nullopt;
    }
    const std::uint16_t nStatus = ReadU16Le(record.data() + 2);
    SProbeVelocityRecord fields;
    fields.nBeams = (nStatus & kBeamsMask) + 1u;
    fields.nCells = ((nStatus >> kCellsShift) & kCellsMask) + 1u;
    fields.dScale = (nStatus & kFineScaleBit) != 0 ? kFineVelocityScale : kCoarseVelocityScale;
    if (record.size() < kArrays + 4 * fields.Entries()) {
        return std::nullopt;
    }
    fields.pArrays = record.data() + kArrays;
    return fields;
}

}  // namespace sulvan
