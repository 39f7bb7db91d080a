#pragma once
// Little-endian field access on byte buffers. Every file this system reads or writes stores its
// integers little-endian; these helpers are the only way bytes become numbers and back, so no
// code depends on the host's byte order or casts a struct over a buffer.

#include <bit>
#include <cstdint>

namespace sulvan {

inline std::uint16_t ReadU16Le(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::int16_t ReadI16Le(const std::uint8_t* p) {
    return static_cast<std::int16_t>(ReadU16Le(p));
}

inline std::uint32_t ReadU32Le(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t ReadU64Le(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(ReadU32Le(p)) |
           (static_cast<std::uint64_t>(ReadU32Le(p + 4)) << 32);
}

inline void WriteU16Le(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteI16Le(std::uint8_t* p, std::int16_t value) {
    WriteU16Le(p, static_cast<std::uint16_t>(value));
}

inline void WriteU32Le(std::uint8_t* p, std::uint32_t value) {
    WriteU16Le(p, static_cast<std::uint16_t>(value));
    WriteU16Le(p + 2, static_cast<std::uint16_t>(value >> 16));
}

inline void WriteU64Le(std::uint8_t* p, std::uint64_t value) {
    WriteU32Le(p, static_cast<std::uint32_t>(value));
    WriteU32Le(p + 4, static_cast<std::uint32_t>(value >> 32));
}

// IEEE-754 single precision, stored little-endian.
inline void WriteF32Le(std::uint8_t* p, float value) {
    WriteU32Le(p, std::bit_cast<std::uint32_t>(value));
}

inline float ReadF32Le(const std::uint8_t* p) {
    return std::bit_cast<float>(ReadU32Le(p));
}

}  // namespace sulvan
