#pragma once
// Builders for the bytes of instrument data files: one record at a time, valid by default
// (sync byte, size field, checksum), with named ways to damage them; and a recording builder
// that chains records into a file image. Tests and sulvan-synth write their inputs with these.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/BcdClock.hpp"

namespace sulvan::records {

using Bytes = std::vector<std::uint8_t>;

// The BCD clock bytes of a calendar time (minute, second, day, hour, year, month).
ClockBytes MakeClock(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond);

class CRecordBuilder {
  public:
    // A zeroed record of nSize bytes starting with the sync byte and the identifier; with
    // bSizeField the size in words follows.
    CRecordBuilder(std::uint8_t nId, std::size_t nSize, bool bSizeField = true);

    CRecordBuilder& U8(std::size_t nOffset, std::uint8_t nValue);
    CRecordBuilder& U16(std::size_t nOffset, std::uint16_t nValue);
    CRecordBuilder& I16(std::size_t nOffset, std::int16_t nValue);
    CRecordBuilder& U32(std::size_t nOffset, std::uint32_t nValue);
    CRecordBuilder& Text(std::size_t nOffset, std::string_view strText);
    CRecordBuilder& Raw(std::size_t nOffset, std::span<const std::uint8_t> bytes);
    CRecordBuilder& Clock(const ClockBytes& clock);
    // The record keeps a wrong checksum instead of the right one (or the right one again).
    CRecordBuilder& CorruptChecksum(bool bCorrupt = true);

    std::size_t Size() const { return m_bytes.size(); }
    // The record with its checksum filled in (or corrupted).
    Bytes Build() const;
    void AppendTo(Bytes& out) const;
    // The same, sealed in place: no copy, for writers that refill one builder per record.
    std::span<const std::uint8_t> Seal();

  private:
    void SealInPlace(std::span<std::uint8_t> record) const;

    Bytes m_bytes;
    bool m_bCorruptChecksum = false;
};

// ---- Configuration records ------------------------------------------------------------

// Hardware configuration: serial and firmware text; everything else zero.
CRecordBuilder HardwareConfig(std::string_view strSerial = "TRS 1001",
                              std::string_view strFirmware = "1.08");

struct SHeadOptions {
    std::string strSerial = "TRS 2001";
    int nBeams = 3;
    bool bCompass = false;
    std::uint16_t nFrequencyKhz = 6000;
    std::uint16_t nHeadType = 0x0102;
    std::uint16_t nQuantity198 = 800;
    std::int16_t matrix[9] = {4096, 0, 0, 0, 4096, 0, 0, 0, 4096};
};
CRecordBuilder HeadConfig(const SHeadOptions& options = {});

// A user configuration with explicit, plausible settings of a continuous Tarsis deployment;
// tests change single fields with U16 and friends (offsets in config/ConfigFields.hpp).
struct SUserOptions {
    int nBeams = 3;
    int nCells = 1;
    std::uint16_t nRateDivisor = 16;    // 512 / 16 = 32 Hz
    std::uint16_t nRangeSetting = 160;  // range index 5
    std::uint16_t nBurstSamples = 0;    // continuous
    std::uint16_t nInterval = 600;
    std::uint16_t nSoundSpeed = 16384;  // 1500 m/s
    std::uint16_t nSalinity = 350;      // 35.0 ppt
    std::uint16_t nTimingControl = 0;
    std::uint16_t nModeWord = 0;
    std::int16_t nCoordinateSystem = 1;
    std::string strName = "RUN01";
    std::string strComment = "Synthetic test deployment";
    ClockBytes start = {0x00, 0x00, 0x01, 0x12, 0x08, 0x01};  // 2008-01-01 12:00:00
};
CRecordBuilder UserConfig(const SUserOptions& options = {});

// The three configuration records at their standard places (0, 48, 272): 784 bytes.
Bytes StandardConfiguration(std::string_view strHardwareSerial = "TRS 1001",
                            std::string_view strFirmware = "1.08", const SHeadOptions& head = {},
                            const SUserOptions& user = {});

// ---- Data records ---------------------------------------------------------------------

// Tarsis velocity sample (0x10, no size field): counts per beam, then amplitudes and
// correlations; nb is the number of velocities.
struct SVelocitySample {
    std::vector<std::int16_t> velocities = {100, -200, 300};
    std::vector<std::uint8_t> amplitudes = {110, 120, 130};
    std::vector<std::uint8_t> correlations = {90, 91, 92};
    std::uint16_t nPressure = 0;
    std::uint16_t nAnalog1 = 0;
};
CRecordBuilder VelocitySample(const SVelocitySample& sample);
// The default sample. Built out of line: g++ 12 at -O3 takes the default's inlined vectors for
// uninitialised memory.
CRecordBuilder VelocitySample();
// Writes the sample's fields into a velocity sample record of the same beam count.
void FillVelocitySample(CRecordBuilder& record, const SVelocitySample& sample);

// Tarsis system sample (0x11, 28 bytes).
struct SSystemSample {
    ClockBytes clock = {0x00, 0x00, 0x01, 0x12, 0x08, 0x01};
    std::uint16_t nBattery = 120;
    std::uint16_t nSoundSpeed = 15000;  // 0.1 m/s
    std::int16_t nHeading = 900;        // 0.1 degree
    std::int16_t nPitch = -15;
    std::int16_t nRoll = 25;
    std::int16_t nTemperature = 1234;  // 0.01 degC
};
CRecordBuilder SystemSample(const SSystemSample& sample = {});
void FillSystemSample(CRecordBuilder& record, const SSystemSample& sample);

// Tarsis velocity sample header (0x12, 42 bytes), opening a burst.
CRecordBuilder VelocityHeader(const ClockBytes& clock, std::uint16_t nSamples);
void FillVelocityHeader(CRecordBuilder& record, const ClockBytes& clock, std::uint16_t nSamples);

// Pelora velocity record: 0x01 (3·nb + 32 bytes), 0x80 (the same size, a wave sample) and 0x70
// (3·nb + 68 bytes, extended); all three share the fields up to the amplitudes.
struct SPeloraSample {
    ClockBytes clock = {0x00, 0x00, 0x01, 0x12, 0x08, 0x01};
    std::uint16_t nAnalog1 = 0;
    std::uint16_t nBattery = 120;
    std::uint16_t nSoundSpeed = 15000;  // 0.1 m/s
    std::int16_t nHeading = 900;        // 0.1 degree
    std::int16_t nPitch = -15;
    std::int16_t nRoll = 25;
    std::uint32_t nPressure = 0;           // 24 bits: the high byte at 24, the low word at 26
    std::int16_t nTemperature = 1234;      // 0.01 degC
    std::vector<std::int16_t> velocities;  // counts per beam, from offset 30
    std::vector<std::uint8_t> amplitudes;  // after the velocities
};
// nb is the number of velocities.
CRecordBuilder PeloraRecord(std::uint8_t nId, const SPeloraSample& sample);
void FillPeloraRecord(CRecordBuilder& record, const SPeloraSample& sample);

// A profile record of nb beams and nc cells with the clock at offset 4.
CRecordBuilder ProfileRecord(std::uint8_t nId, int nBeams, int nCells, const ClockBytes& clock);

// ---- Recordings -----------------------------------------------------------------------

class CRecordingBuilder {
  public:
    CRecordingBuilder& Add(const CRecordBuilder& record);
    CRecordingBuilder& Add(std::span<const std::uint8_t> bytes);
    // Bytes that form no record (none of them is the sync byte).
    CRecordingBuilder& Garbage(std::size_t nCount, std::uint8_t nFill = 0x5A);
    // Drops the last nCount bytes, as a recording cut off by a full recorder.
    CRecordingBuilder& TruncateBy(std::size_t nCount);

    const Bytes& Image() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }

  private:
    Bytes m_bytes;
};

}  // namespace sulvan::records
