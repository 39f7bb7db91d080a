#include "format/RecordCatalogue.hpp"

#include "format/RecordCatalogueTable.hpp"

namespace sulvan {
std::size_t ExpectedRecordSize(std::uint8_t nId, int nBeams, int nCells) {
    const SRecordKind* pKind = FindRecordKind(nId);
    return pKind == nullptr ? 0 : SizeOfKind(*pKind, nBeams, nCells);
}

int BeamsFromRecordSize(std::uint8_t nId, std::size_t nSize) {
    const auto size = static_cast<std::int64_t>(nSize);
    switch (nId) {
        case 0x01:
        case 0x80:
            return static_cast<int>((size - 32) / 3);
        case 0x08:
        case 0x23:
        case 0x26:
            return 1;
        case 0x09:
        case 0x22:
        case 0x25:
        case 0x40:
            return 2;
        case 0x10:
            return static_cast<int>((size - 12) / 4);
        case 0x21:
        case 0x24:
        case 0x28:
        case 0x2A:
            return 3;
        case 0x70:
            return static_cast<int>((size - 68) / 3);
        default:
            return 0;
    }
}

int CellsFromRecordSize(std::uint8_t nId, std::size_t nSize, int nBeams) {
    const auto size = static_cast<std::int64_t>(nSize);
    const std::int64_t nb = nBeams;
    std::int64_t nNumerator = 0;
    std::int64_t nDivisor = 1;
    switch (nId) {
        case 0x20:
        case 0x24:
        case 0x25:
        case 0x26:
            nNumerator = size - 120;
            nDivisor = 3 * nb;
            break;
        case 0x21:
        case 0x22:
        case 0x23:
        case 0x28:
            nNumerator = size - 32;
            nDivisor = 3 * nb;
            break;
        case 0x2A:
            nNumerator = size - 56;
            nDivisor = 4 * nb;
            break;
        case 0x40:
            nNumerator = size - 30;
            nDivisor = 3 * nb;
            break;
        case 0x41:
            nNumerator = size - 34;
            nDivisor = nb;
            break;
        case 0x42:
            return static_cast<int>(size - 34);
        default:
            return 1;
    }
    if (nDivisor == 0) {
        return 0;
    }
    return static_cast<int>(nNumerator / nDivisor);
}

bool IsProfileRecord(std::uint8_t nId) {
    switch (nId) {
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x23:
        case 0x24:
        case 0x25:
        case 0x26:
        case 0x28:
        case 0x2A:
        case 0x40:
        case 0x41:
        case 0x42:
        case 0x6A:
            return true;
        default:
            return false;
    }
}

bool IsTimeStampedRecord(std::uint8_t nId) {
    switch (nId) {
        case 0x01:
        case 0x11:
        case 0x12:
        case 0x31:
        case 0x70:
        case 0x80:
            return true;
        case 0x42:
        case 0x6A:
            return false;
        default:
            return IsProfileRecord(nId);
    }
}

}  // namespace sulvan
