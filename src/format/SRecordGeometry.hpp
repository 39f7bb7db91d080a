#pragma once
// The beam and cell counts a reader keeps for an open file, and the size check that reads and
// updates them. The reader owns one; the converters walking its records share it.

#include <array>
#include <cstdint>
#include <span>

#include "platform/ByteOrder.hpp"

namespace sulvan {

struct SSizeCheck {
    bool bAccepted = false;
    std::uint32_t nSize = 0;  // record size in bytes; 0 when the size field itself is 0
};

struct SRecordGeometry {
    int nBeams = 3;
    int nCells = 1;
    // Fixed sample count of records 0x62 and 0x63.
    int nSamples = 99;
    // With a valid user configuration the counts are known and records must match them;
    // without one the counts are learnt from the records' sizes.
    bool bUserConfigValid = false;

    // Whether a record starting with these four bytes (sync byte already checked) is
    // acceptable, and its size. May learn nb and nc.
    SSizeCheck CheckRecordSize(std::span<const std::uint8_t, 4> header) {
        // Inline: the record walk checks every record, and the shortcut is its usual answer.
        const SShortcut& shortcut = m_shortcuts[header[1]];
        if (shortcut.nBeams == nBeams && shortcut.nCells == nCells &&
            shortcut.bUserConfigValid == bUserConfigValid) {
            if (shortcut.kind == EShortcut::SizeField) {
                const std::uint32_t nSize = std::uint32_t{ReadU16Le(header.data() + 2)} * 2;
                return {nSize != 0 && nSize == shortcut.nSize, nSize};
            }
            if (shortcut.kind == EShortcut::NoSizeField) {
                return {true, shortcut.nSize};
            }
        }
        return CheckWithoutShortcut(header);
    }

  private:
    // Works out the identifier's shortcut anew when the counts changed, then applies it or,
    // when there is none, the rules.
    SSizeCheck CheckWithoutShortcut(std::span<const std::uint8_t, 4> header);
    // The rule of the catalogue, applied in full.
    SSizeCheck ApplySizeRules(std::span<const std::uint8_t, 4> header);

    // Most identifiers, once the counts are known, are accepted at one size: kept per
    // identifier with the counts it was worked out for, the check is a look-up and one
    // comparison.
    enum class EShortcut : std::uint8_t {
        None,         // the rules apply in full
        SizeField,    // accepted when the size field gives nSize
        NoSizeField,  // always accepted, at nSize
    };
    struct SShortcut {
        int nBeams = -1;
        int nCells = -1;
        bool bUserConfigValid = false;
        EShortcut kind = EShortcut::None;
        std::uint32_t nSize = 0;
    };
    SShortcut WorkOutShortcut(std::uint8_t nId) const;

    std::array<SShortcut, 256> m_shortcuts{};
};

}  // namespace sulvan
