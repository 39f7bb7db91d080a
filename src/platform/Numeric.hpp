#pragma once
// Conversions of real values to stored integers.

#include <cmath>
#include <cstdint>

namespace sulvan {

// Every real value this system stores as an integer is rounded half away from zero:
// 2.5 -> 3, -2.5 -> -3.
inline double RoundHalfAwayFromZero(double x) {
    const double truncated = std::trunc(x);
    if (std::fabs(x - truncated) < 0.5) {
        return truncated;
    }
    return x >= 0 ? truncated + 1 : truncated - 1;
}

// A real value taken as a 16-bit field: wraps like a two's complement store; values that have
// no integer meaning (NaN, infinities, beyond 64 bits) store 0 instead of being undefined.
inline std::uint16_t ToU16Bits(double x) {
    if (!std::isfinite(x) || std::fabs(x) >= 9.2e18) {
        return 0;
    }
    return static_cast<std::uint16_t>(static_cast<std::int64_t>(x));
}

inline std::uint16_t RoundToU16Bits(double x) {
    return ToU16Bits(RoundHalfAwayFromZero(x));
}

}  // namespace sulvan
