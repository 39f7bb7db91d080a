#pragma once
// The KVT "ADV 3.0" layout shared by every conversion to .adv: a 300-byte file header, one
// 254-byte instrument block per instrument, then fixed-size sample records. All values are
// little-endian; every byte not set here is zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/DateTime.hpp"

namespace sulvan {

inline constexpr std::size_t kAdvFileHeaderSize = 300;
inline constexpr std::size_t kAdvInstrumentBlockSize = 254;
inline constexpr std::size_t kAdvSampleSize = 18;
inline constexpr std::size_t kAdvSampleWithAttitudeSize = 26;
inline constexpr std::size_t kAdvMaxProbes = 8;

struct SAdvFileHeader {
    // Empty when the start cannot be told: the year reads 0xFFFF and the other fields 0xFF.
    std::optional<SDateTimeFields> start;
    std::uint8_t nHundredths = 0;
    // How many instruments the file holds; the slot flags of the others read 3.
    std::size_t nProbes = 1;
    float fTemperature = 0.0F;  // degC
    float fSalinity = 0.0F;     // ppt
    float fSoundSpeed = 0.0F;   // m/s
    float fSampleRate = 0.0F;   // Hz
    std::uint16_t nVelocityRange = 0;
    std::uint16_t nSyncCode = 0;  // 0 none, 1 start on synchronisation, 2 sample on it
    // 0 without attitude (18-byte samples); 1 or 2 with it (26-byte samples).
    std::int16_t nAttitude = 0;
    std::string strName;     // the first 6 characters are kept
    std::string strComment;  // the first 60 characters are kept
};

struct SAdvInstrumentBlock {
    std::string strSerial;  // the first 6 characters are kept
    std::uint8_t nHeadType = 0;
    std::uint16_t nBeams = 0;
    std::uint16_t nHeadQuantity = 0;
    std::array<float, 9> matrix{};  // row by row
    float fSoundSpeed = 0.0F;
};

struct SAdvSample {
    std::array<float, 3> velocity{};  // m/s
    std::array<std::uint8_t, 3> amplitude{};
    std::array<std::uint8_t, 3> correlation{};
    // Only in the form with attitude.
    std::int16_t nHeading = 0;      // 0.1 degree
    std::int16_t nPitch = 0;        // 0.1 degree
    std::int16_t nRoll = 0;         // 0.1 degree
    std::int16_t nTemperature = 0;  // 0.1 degC
};

std::array<std::uint8_t, kAdvFileHeaderSize> EncodeAdvFileHeader(const SAdvFileHeader& header);
std::array<std::uint8_t, kAdvInstrumentBlockSize> EncodeAdvInstrumentBlock(
    const SAdvInstrumentBlock& block);
// Writes the sample in its 18-byte form, or its 26-byte form with attitude, and returns the
// number of bytes written.
std::size_t EncodeAdvSample(const SAdvSample& sample, bool bWithAttitude, std::uint8_t* pOut);

}  // namespace sulvan
