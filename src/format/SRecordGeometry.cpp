#include "format/SRecordGeometry.hpp"

#include "format/RecordCatalogue.hpp"
#include "format/RecordCatalogueTable.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan {

SSizeCheck SRecordGeometry::CheckWithoutShortcut(std::span<const std::uint8_t, 4> header) {
    SShortcut& shortcut = m_shortcuts[header[1]];
    if (shortcut.nBeams != nBeams || shortcut.nCells != nCells ||
        shortcut.bUserConfigValid != bUserConfigValid) {
        shortcut = WorkOutShortcut(header[1]);
        if (shortcut.kind != EShortcut::None) {
            return CheckRecordSize(header);
        }
    }
    return ApplySizeRules(header);
}

SRecordGeometry::SShortcut SRecordGeometry::WorkOutShortcut(std::uint8_t nId) const {
    SShortcut shortcut{nBeams, nCells, bUserConfigValid, EShortcut::None, 0};
    const SRecordKind* pKind = FindRecordKind(nId);
    // Records that teach the counts, and rules other than one size, take the full rules.
    if (pKind == nullptr || nId >= RecordId::FirstRejected ||
        (!bUserConfigValid && pKind->learning != ELearning::Nothing)) {
        return shortcut;
    }
    switch (pKind->rule) {
        case ESizeRule::Fixed:
            shortcut.kind = EShortcut::SizeField;
            shortcut.nSize = static_cast<std::uint32_t>(pKind->nFixed);
            break;
        case ESizeRule::Expected:
            shortcut.kind = EShortcut::SizeField;
            shortcut.nSize = static_cast<std::uint32_t>(SizeOfKind(*pKind, nBeams, nCells));
            break;
        case ESizeRule::Always:
            // Without a beam count a record without a size field cannot be sized.
            if (nBeams >= 1 || pKind->nPerBeam == 0) {
                shortcut.kind = EShortcut::NoSizeField;
                shortcut.nSize = static_cast<std::uint32_t>(SizeOfKind(*pKind, nBeams, 1));
            }
            break;
        default:
            break;
    }
    return shortcut;
}

SSizeCheck SRecordGeometry::ApplySizeRules(std::span<const std::uint8_t, 4> header) {
    const std::uint8_t nId = header[1];
    const SRecordKind* pKind = FindRecordKind(nId);
    // Records without a size field are sized from the beam count; without a beam count (a
    // damaged head record can give 0 or less) they cannot be sized at all.
    if (pKind != nullptr && !pKind->bHasSizeField && pKind->nPerBeam != 0 && nBeams < 1) {
        return {};
    }
    const std::size_t nSize = pKind != nullptr && !pKind->bHasSizeField
                                  ? SizeOfKind(*pKind, nBeams, 1)
                                  : std::size_t{ReadU16Le(header.data() + 2)} * 2;
    if (nSize == 0) {
        return {};
    }
    const SSizeCheck rejected{false, static_cast<std::uint32_t>(nSize)};
    const SSizeCheck accepted{true, static_cast<std::uint32_t>(nSize)};
    // A record of the kinds that take any size still needs room for its header and checksum:
    // a shorter one would be handed out without them, and the walk go on inside its header.
    if (nId >= RecordId::FirstRejected || pKind == nullptr || nSize < kLeastRecordSize) {
        return rejected;
    }

    switch (pKind->rule) {
        case ESizeRule::Fixed:
            return nSize == static_cast<std::size_t>(pKind->nFixed) ? accepted : rejected;
        case ESizeRule::FixedOrHalf:
            return nSize == 16 || nSize == 32 ? accepted : rejected;
        case ESizeRule::AnyNonZero:
            return accepted;
        case ESizeRule::AtMost:
            return nSize <= SizeOfKind(*pKind, nBeams, pKind->nLimitCells) ? accepted : rejected;
        case ESizeRule::SampleCount:
            return nSize == SizeOfKind(*pKind, 0, nSamples) ? accepted : rejected;
        case ESizeRule::Never:
            return rejected;
        case ESizeRule::Always:
        case ESizeRule::Expected:
            break;
    }

    if (bUserConfigValid || pKind->learning == ELearning::Nothing) {
        if (pKind->rule == ESizeRule::Always) {
            return accepted;
        }
        return nSize == SizeOfKind(*pKind, nBeams, nCells) ? accepted : rejected;
    }

    int nLearntBeams = nBeams;
    int nLearntCells = nCells;
    switch (pKind->learning) {
        case ELearning::Beams:
            nLearntBeams = BeamsFromRecordSize(nId, nSize);
            break;
        case ELearning::BeamsAndCells:
            nLearntBeams = BeamsFromRecordSize(nId, nSize);
            nLearntCells = CellsFromRecordSize(nId, nSize, nLearntBeams);
            break;
        case ELearning::ThreeBeamsAndCells:
            nLearntBeams = 3;
            nLearntCells = CellsFromRecordSize(nId, nSize, 3);
            break;
        case ELearning::Nothing:
            break;
    }
    // A size too small for one beam or one cell is damage, not a lesson: learning a count
    // below 1 would mis-size every later record.
    if (nLearntBeams < 1 || nLearntCells < 1) {
        return rejected;
    }
    nBeams = nLearntBeams;
    nCells = nLearntCells;
    return accepted;
}

}  // namespace sulvan
