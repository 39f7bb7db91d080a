#pragma once
// The catalogue as data: the size formula and the size-check rule of every known identifier.
// Private to the format layer; RecordCatalogue.hpp and SRecordGeometry are its public face.

#include <array>
#include <cstddef>
#include <cstdint>

namespace sulvan {

// How the size check treats a record of this kind.
enum class ESizeRule : std::uint8_t {
    Fixed,        // accepted only at its fixed size
    FixedOrHalf,  // 0x02: accepted at 16 or 32 bytes
    Expected,     // learns the geometry without a valid user configuration, else exact
    AnyNonZero,   // 0x07, 0x0F
    AtMost,       // 0x41, 0x42: at most the size for nLimitCells cells
    SampleCount,  // 0x35, 0x60 to 0x63: exact for the reader's sample count
    Always,       // no size field: accepted at the size computed from nb
    Never,        // known size only; always rejected
};

// What a record teaches while no valid user configuration is loaded.
enum class ELearning : std::uint8_t {
    Nothing,
    Beams,               // nb from BeamsFromRecordSize
    BeamsAndCells,       // nb from BeamsFromRecordSize, nc from CellsFromRecordSize
    ThreeBeamsAndCells,  // 0x20: nb = 3, nc from CellsFromRecordSize with 3 beams
};

// Size in bytes = nPerBeamAndCell·nb·nc + nPerBeam·nb + nPerCell·nc + nFixed, before it is raised
// to an even number.
struct SRecordKind {
    std::uint8_t nId;
    int nPerBeamAndCell;
    int nPerBeam;
    int nPerCell;
    int nFixed;
    bool bHasSizeField;
    ESizeRule rule;
    ELearning learning;
    int nLimitCells;  // for ESizeRule::AtMost
};

// clang-format off
inline constexpr SRecordKind kRecordKinds[] = {
    //  id   nb·nc  nb  nc  fixed  field  rule                       learning
    {0x00,  0, 0, 0,  512, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x01,  0, 3, 0,   32, true,  ESizeRule::Expected,    ELearning::Beams, 0},
    {0x02,  0, 0, 0,   32, true,  ESizeRule::FixedOrHalf, ELearning::Nothing, 0},
    {0x03,  0, 0, 0, 6148, true,  ESizeRule::Never,       ELearning::Nothing, 0},
    {0x04,  0, 0, 0,  224, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x05,  0, 0, 0,   48, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x06,  0, 0, 0,   36, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x07,  1, 0, 0,   10, true,  ESizeRule::AnyNonZero,  ELearning::Nothing, 0},
    {0x08,  0, 0, 0,   16, false, ESizeRule::Always,      ELearning::Beams, 0},
    {0x09,  0, 0, 0,   20, false, ESizeRule::Always,      ELearning::Beams, 0},
    {0x0F,  0, 0, 0,    0, true,  ESizeRule::AnyNonZero,  ELearning::Nothing, 0},
    {0x10,  0, 4, 0,   12, false, ESizeRule::Always,      ELearning::Beams, 0},
    {0x11,  0, 0, 0,   28, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x12,  0, 0, 0,   42, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x20,  3, 0, 0,  120, true,  ESizeRule::Expected,    ELearning::ThreeBeamsAndCells, 0},
    {0x21,  3, 0, 0,   32, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x22,  0, 0, 6,   32, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x23,  0, 0, 3,   32, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x24,  3, 0, 0,  120, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x25,  0, 0, 6,  120, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x26,  0, 0, 3,  120, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x28,  3, 0, 0,   32, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x2A,  4, 0, 0,   56, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x30,  0, 0, 0,   24, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x31,  0, 0, 0,   60, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    {0x35,  0, 0, 0,  206, true,  ESizeRule::SampleCount, ELearning::Nothing, 0},
    {0x36,  0, 0, 0,   24, false, ESizeRule::Always,      ELearning::Nothing, 0},
    {0x40,  3, 0, 0,   30, true,  ESizeRule::Expected,    ELearning::BeamsAndCells, 0},
    {0x41,  1, 0, 0,   34, true,  ESizeRule::AtMost,      ELearning::Nothing, 128},
    {0x42,  0, 0, 1,   34, true,  ESizeRule::AtMost,      ELearning::Nothing, 2048},
    {0x50,  0, 0, 0,   42, true,  ESizeRule::Fixed,       ELearning::Nothing, 0},
    // A multi-probe sample teaches nothing: no beam count can be read from its size.
    {0x51,  0, 4, 0,    6, false, ESizeRule::Always,      ELearning::Nothing, 0},
    {0x60,  0, 0, 0,   80, true,  ESizeRule::SampleCount, ELearning::Nothing, 0},
    {0x61,  0, 0, 0,   48, true,  ESizeRule::SampleCount, ELearning::Nothing, 0},
    {0x62,  0, 0, 2,   44, true,  ESizeRule::SampleCount, ELearning::Nothing, 0},
    {0x63,  0, 0, 8,   32, true,  ESizeRule::SampleCount, ELearning::Nothing, 0},
    {0x6A,  7, 0, 8,   16, true,  ESizeRule::Never,       ELearning::Nothing, 0},
    {0x70,  0, 3, 0,   68, true,  ESizeRule::Expected,    ELearning::Beams, 0},
    {0x80,  0, 3, 0,   32, true,  ESizeRule::Expected,    ELearning::Beams, 0},
};
// clang-format on

namespace detail {
constexpr std::array<std::int16_t, 256> BuildKindIndex() {
    std::array<std::int16_t, 256> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < std::size(kRecordKinds); ++i) {
        index[kRecordKinds[i].nId] = static_cast<std::int16_t>(i);
    }
    return index;
}
inline constexpr std::array<std::int16_t, 256> kKindIndex = BuildKindIndex();
}  // namespace detail

// The kind of an identifier, or nullptr when the catalogue does not know it.
inline const SRecordKind* FindRecordKind(std::uint8_t nId) {
    const std::int16_t nIndex = detail::kKindIndex[nId];
    return nIndex < 0 ? nullptr : &kRecordKinds[nIndex];
}

// The size in bytes for nb and nc, raised to an even number; 0 when the counts form no record.
inline std::size_t SizeOfKind(const SRecordKind& kind, int nBeams, int nCells) {
    const std::int64_t nb = nBeams;
    const std::int64_t nc = nCells;
    const std::int64_t nSize =
        kind.nPerBeamAndCell * nb * nc + kind.nPerBeam * nb + kind.nPerCell * nc + kind.nFixed;
    return nSize <= 0 ? 0 : static_cast<std::size_t>(nSize + (nSize & 1));
}

}  // namespace sulvan
