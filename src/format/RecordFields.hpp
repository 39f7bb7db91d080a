#pragma once
// Where the fields of the data records lie, in bytes from the record's sync byte. Every reader
// of these records takes its offsets from here. Numbers are little-endian 16-bit words unless
// said otherwise; the clock of a record is at kRecordClockOffset (RecordCatalogue.hpp).

#include <cstddef>

namespace sulvan {

// Tarsis system sample (0x11), about once a second: the instrument's attitude and environment.
namespace SystemSampleField {
inline constexpr std::size_t Battery = 10;
inline constexpr std::size_t SoundSpeed = 12;   // 0.1 m/s
inline constexpr std::size_t Heading = 14;      // 0.1 degree, signed
inline constexpr std::size_t Pitch = 16;        // 0.1 degree, signed
inline constexpr std::size_t Roll = 18;         // 0.1 degree, signed
inline constexpr std::size_t Temperature = 20;  // 0.01 degree Celsius, signed
inline constexpr std::size_t Size = 28;
}  // namespace SystemSampleField

// Tarsis velocity sample (0x10): no size field and no clock.
namespace VelocitySampleField {
inline constexpr std::size_t PressureHigh = 4;  // byte: the pressure counts above the low word
inline constexpr std::size_t Pressure = 6;      // the low word of the pressure counts
inline constexpr std::size_t Analog1 = 8;
// Velocities (signed words), then amplitudes, then correlations (bytes), nb x nc entries each.
inline constexpr std::size_t Arrays = 10;
}  // namespace VelocitySampleField

// Tarsis velocity sample header (0x12): opens a burst.
namespace VelocityHeaderField {
inline constexpr std::size_t Samples = 10;  // samples in the burst
inline constexpr std::size_t Noise = 12;    // noise amplitudes and correlations, bytes
inline constexpr std::size_t Size = 42;
}  // namespace VelocityHeaderField

// Pelora velocity records (0x01, 0x70, 0x80).
namespace PeloraVelocityField {
inline constexpr std::size_t Analog1 = 12;
inline constexpr std::size_t Battery = 14;
inline constexpr std::size_t SoundSpeed = 16;
inline constexpr std::size_t Heading = 18;
inline constexpr std::size_t Pitch = 20;
inline constexpr std::size_t Roll = 22;
inline constexpr std::size_t PressureHigh = 24;  // byte: the pressure counts above the low word
inline constexpr std::size_t Pressure = 26;      // the low word
inline constexpr std::size_t Temperature = 28;
// Velocities (signed words), then amplitudes (bytes), nb entries each.
inline constexpr std::size_t Arrays = 30;
}  // namespace PeloraVelocityField

// Velocity counts of the user configuration's scales.
inline constexpr double kCoarseVelocityScale = 0.001;  // m/s per count
inline constexpr double kFineVelocityScale = 0.0001;

// The six words of the instrument's state that the Tarsis system samples and the Pelora velocity
// records both carry, each at its own places.
struct SStateFields {
    std::size_t nBattery;
    std::size_t nSoundSpeed;
    std::size_t nHeading;
    std::size_t nPitch;
    std::size_t nRoll;
    std::size_t nTemperature;
};

inline constexpr SStateFields kSystemSampleState{
    SystemSampleField::Battery, SystemSampleField::SoundSpeed, SystemSampleField::Heading,
    SystemSampleField::Pitch,   SystemSampleField::Roll,       SystemSampleField::Temperature};
inline constexpr SStateFields kPeloraVelocityState{
    PeloraVelocityField::Battery, PeloraVelocityField::SoundSpeed,
    PeloraVelocityField::Heading, PeloraVelocityField::Pitch,
    PeloraVelocityField::Roll,    PeloraVelocityField::Temperature};

}  // namespace sulvan
