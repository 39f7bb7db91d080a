#pragma once
// Byte offsets of the data record fields the converters and the quick look read, with their
// units. Record clocks are at kRecordClockOffset (RecordCatalogue.hpp).

#include <cstddef>

namespace sulvan {

// Tarsis velocity sample (0x10; 0x08 and 0x09 alike): from kArrays the velocity counts of the
// nb beams (i16), then their amplitudes (u8), then their correlations (u8).
namespace VelocitySampleField {
inline constexpr std::size_t Pressure = 6;  // u16, the low word; the high byte is at 4
inline constexpr std::size_t Analog1 = 8;
inline constexpr std::size_t Arrays = 10;
}  // namespace VelocitySampleField

// Tarsis system sample (0x11, 28 bytes).
namespace SystemSampleField {
inline constexpr std::size_t Battery = 10;      // u16, 0.1 V
inline constexpr std::size_t SoundSpeed = 12;   // u16, 0.1 m/s
inline constexpr std::size_t Heading = 14;      // i16, 0.1 degree
inline constexpr std::size_t Pitch = 16;        // i16, 0.1 degree
inline constexpr std::size_t Roll = 18;         // i16, 0.1 degree
inline constexpr std::size_t Temperature = 20;  // i16, 0.01 degC
}  // namespace SystemSampleField

// Tarsis velocity sample header (0x12, 42 bytes), opening a burst.
namespace VelocityHeaderField {
inline constexpr std::size_t Samples = 10;  // u16, samples in the burst
inline constexpr std::size_t Noise = 12;    // u8[4]
}  // namespace VelocityHeaderField

// Pelora velocity record (0x01, 0x70, 0x80): the sensors, then from kArrays the velocity
// counts of the nb beams (i16) and their amplitudes (u8).
namespace PeloraField {
inline constexpr std::size_t Analog1 = 12;
inline constexpr std::size_t Battery = 14;      // u16, 0.1 V
inline constexpr std::size_t SoundSpeed = 16;   // u16, 0.1 m/s
inline constexpr std::size_t Heading = 18;      // i16, 0.1 degree
inline constexpr std::size_t Pitch = 20;        // i16, 0.1 degree
inline constexpr std::size_t Roll = 22;         // i16, 0.1 degree
inline constexpr std::size_t Pressure = 26;     // u16, the low word; the high byte is at 24
inline constexpr std::size_t Temperature = 28;  // i16, 0.01 degC
inline constexpr std::size_t Arrays = 30;
}  // namespace PeloraField

// Velocity counts of the user configuration's scale.
inline constexpr double kCoarseVelocityScale = 0.001;  // m/s per count
inline constexpr double kFineVelocityScale = 0.0001;

}  // namespace sulvan
