#pragma once
// The record identifiers this system knows and the size rules of each. Every instrument data
// file is a flat run of records: sync byte 0xA5, identifier, size in 16-bit words (absent for
// a few identifiers), payload, checksum.

#include <cstddef>
#include <cstdint>

namespace sulvan {

inline constexpr std::uint8_t kSyncByte = 0xA5;

namespace RecordId {
inline constexpr std::uint8_t UserConfig = 0x00;
inline constexpr std::uint8_t SinglePointVelocity = 0x01;  // Pelora velocity record
inline constexpr std::uint8_t HeadConfig = 0x04;
inline constexpr std::uint8_t HardwareConfig = 0x05;
inline constexpr std::uint8_t OneBeamSample = 0x08;
inline constexpr std::uint8_t TwoBeamSample = 0x09;
inline constexpr std::uint8_t TimeMark = 0x0F;
inline constexpr std::uint8_t VelocitySample = 0x10;  // Tarsis
inline constexpr std::uint8_t SystemSample = 0x11;    // Tarsis
inline constexpr std::uint8_t VelocityHeader = 0x12;  // Tarsis, opens a burst
inline constexpr std::uint8_t CurrentProfile = 0x20;
inline constexpr std::uint8_t WaveSample = 0x30;
inline constexpr std::uint8_t WaveBurstHeader = 0x31;
inline constexpr std::uint8_t MultiProbeVelocity = 0x51;
inline constexpr std::uint8_t PeloraExtended = 0x70;
inline constexpr std::uint8_t PeloraWaveSample = 0x80;
// Identifiers from here on are never data records of an instrument file.
inline constexpr std::uint8_t FirstRejected = 0x81;
}  // namespace RecordId

// Bytes 0 to 3 of every record: sync, identifier, size field.
inline constexpr std::size_t kRecordHeaderSize = 4;
// The header and the checksum word: no record is shorter.
inline constexpr std::size_t kLeastRecordSize = kRecordHeaderSize + 2;
// Most data records carry their clock at this offset (see BcdClock.hpp).
inline constexpr std::size_t kRecordClockOffset = 4;

// Size in bytes for the beam count nb and cell count nc, raised to an even number; 0 for an
// identifier outside the catalogue and for identifiers of any size (0x0F).
std::size_t ExpectedRecordSize(std::uint8_t nId, int nBeams, int nCells);

// The beam count a record of this size implies; 0 when the identifier implies none.
int BeamsFromRecordSize(std::uint8_t nId, std::size_t nSize);

// The cell count a record of this size implies for nb beams; 1 for identifiers without cells,
// 0 when nb is 0 (no count can be formed).
int CellsFromRecordSize(std::uint8_t nId, std::size_t nSize, int nBeams);

// The records whose cell count is meaningful: 0x20 to 0x26, 0x28, 0x2A, 0x40 to 0x42, 0x6A.
bool IsProfileRecord(std::uint8_t nId);

// The records that carry a clock at offset 4 and date a file (the reader's time search).
bool IsTimeStampedRecord(std::uint8_t nId);

// Hardware, head and user configuration.
inline bool IsConfigurationRecord(std::uint8_t nId) {
    return nId == RecordId::UserConfig || nId == RecordId::HeadConfig ||
           nId == RecordId::HardwareConfig;
}

}  // namespace sulvan
