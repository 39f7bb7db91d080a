#pragma once
// The beam and cell counts a reader keeps for an open file, and the size check that reads and
// updates them. The reader owns one; the converters walking its records share it.

#include <array>
#include <cstdint>
#include <span>

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
    SSizeCheck CheckRecordSize(std::span<const std::uint8_t, 4> header);

  private:
    // The rule of the catalogue, applied in full.
    SSizeCheck ApplySizeRules(std::span<const std::uint8_t, 4> header);

    // Most identifiers, once the counts are known, are accepted at one size: kept per
    // identifier with the counts it was worked out for, the check is a look-up and one
    // comparison. The record walk checks every record, so this is its hottest step.
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
