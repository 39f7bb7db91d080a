#pragma once
// Byte counts as people write them: digits, then optionally K, M or G for 1024, 1024² or 1024³.

#include <cstdint>
#include <optional>
#include <string_view>

namespace sulvan::synth {

// Empty for anything else, and for counts beyond 64 bits.
std::optional<std::uint64_t> ParseByteCount(std::string_view strText);

}  // namespace sulvan::synth
