#include "RecordBuilder.hpp"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "config/ConfigFields.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan::records {

ClockBytes MakeClock(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    return {BinToBcd(nMinute), BinToBcd(nSecond),     BinToBcd(nDay),
            BinToBcd(nHour),   BinToBcd(nYear % 100), BinToBcd(nMonth)};
}

CRecordBuilder::CRecordBuilder(std::uint8_t nId, std::size_t nSize, bool bSizeField)
    : m_bytes(nSize, 0) {
    assert(nSize >= 6 && nSize % 2 == 0);
    m_bytes[0] = kSyncByte;
    m_bytes[1] = nId;
    if (bSizeField) {
        WriteU16Le(m_bytes.data() + 2, static_cast<std::uint16_t>(nSize / 2));
    }
}

CRecordBuilder& CRecordBuilder::U8(std::size_t nOffset, std::uint8_t nValue) {
    m_bytes.at(nOffset) = nValue;
    return *this;
}

CRecordBuilder& CRecordBuilder::U16(std::size_t nOffset, std::uint16_t nValue) {
    assert(nOffset + 2 <= m_bytes.size());
    WriteU16Le(m_bytes.data() + nOffset, nValue);
    return *this;
}

CRecordBuilder& CRecordBuilder::I16(std::size_t nOffset, std::int16_t nValue) {
    return U16(nOffset, static_cast<std::uint16_t>(nValue));
}

CRecordBuilder& CRecordBuilder::U32(std::size_t nOffset, std::uint32_t nValue) {
    assert(nOffset + 4 <= m_bytes.size());
    WriteU32Le(m_bytes.data() + nOffset, nValue);
    return *this;
}

CRecordBuilder& CRecordBuilder::Text(std::size_t nOffset, std::string_view strText) {
    assert(nOffset + strText.size() <= m_bytes.size());
    std::memcpy(m_bytes.data() + nOffset, strText.data(), strText.size());
    return *this;
}

CRecordBuilder& CRecordBuilder::Raw(std::size_t nOffset, std::span<const std::uint8_t> bytes) {
    assert(nOffset + bytes.size() <= m_bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(nOffset));
    return *this;
}

CRecordBuilder& CRecordBuilder::Clock(const ClockBytes& clock) {
    return Raw(kRecordClockOffset, clock);
}

CRecordBuilder& CRecordBuilder::CorruptChecksum(bool bCorrupt) {
    m_bCorruptChecksum = bCorrupt;
    return *this;
}

Bytes CRecordBuilder::Build() const {
    Bytes record = m_bytes;
    SealInPlace(record);
    return record;
}

std::span<const std::uint8_t> CRecordBuilder::Seal() {
    SealInPlace(m_bytes);
    return m_bytes;
}

void CRecordBuilder::SealInPlace(std::span<std::uint8_t> record) const {
    SealRecord(record);
    if (m_bCorruptChecksum) {
        record[record.size() - 2] ^= 0x5A;
    }
}

void CRecordBuilder::AppendTo(Bytes& out) const {
    const Bytes record = Build();
    out.insert(out.end(), record.begin(), record.end());
}

// ---- Configuration records ------------------------------------------------------------

CRecordBuilder HardwareConfig(std::string_view strSerial, std::string_view strFirmware) {
    CRecordBuilder record(RecordId::HardwareConfig, 48);
    record.Text(HardwareField::Serial, strSerial.substr(0, HardwareField::SerialWidth));
    record.Text(HardwareField::Firmware, strFirmware.substr(0, HardwareField::FirmwareWidth));
    return record;
}

CRecordBuilder HeadConfig(const SHeadOptions& options) {
    CRecordBuilder record(RecordId::HeadConfig, 224);
    record.U16(HeadField::ConfigWord, options.bCompass ? 1u << HeadField::CompassBit : 0u);
    record.U16(HeadField::Frequency, options.nFrequencyKhz);
    record.U16(HeadField::HeadType, options.nHeadType);
    record.Text(HeadField::Serial, std::string_view(options.strSerial).substr(0, 12));
    for (std::size_t i = 0; i < HeadField::MatrixElements; ++i) {
        record.I16(HeadField::Matrix + 2 * i, options.matrix[i]);
    }
    record.U16(HeadField::Quantity198, options.nQuantity198);
    record.U16(HeadField::Beams, static_cast<std::uint16_t>(options.nBeams));
    return record;
}

CRecordBuilder UserConfig(const SUserOptions& options) {
    CRecordBuilder record(RecordId::UserConfig, 512);
    record.U16(UserField::RateDivisor, options.nRateDivisor);
    record.U16(UserField::Beams, static_cast<std::uint16_t>(options.nBeams));
    record.U16(UserField::TimingControl, options.nTimingControl);
    record.I16(UserField::CoordinateSystem, options.nCoordinateSystem);
    record.U16(UserField::Cells, static_cast<std::uint16_t>(options.nCells));
    record.U16(UserField::CellSize, 1);
    record.U16(UserField::Interval, options.nInterval);
    record.Text(UserField::DeploymentName, std::string_view(options.strName).substr(0, 6));
    record.Raw(UserField::DeploymentStart, options.start);
    record.U16(UserField::ModeWord, options.nModeWord);
    record.U16(UserField::SoundSpeed, options.nSoundSpeed);
    record.U16(UserField::Salinity, options.nSalinity);
    record.Text(UserField::Comment, std::string_view(options.strComment).substr(0, 80));
    record.U16(UserField::RangeSetting, options.nRangeSetting);
    record.U16(UserField::BurstSamples, options.nBurstSamples);
    return record;
}

Bytes StandardConfiguration(std::string_view strHardwareSerial, std::string_view strFirmware,
                            const SHeadOptions& head, const SUserOptions& user) {
    Bytes bytes;
    HardwareConfig(strHardwareSerial, strFirmware).AppendTo(bytes);
    HeadConfig(head).AppendTo(bytes);
    UserConfig(user).AppendTo(bytes);
    return bytes;
}

// ---- Data records ---------------------------------------------------------------------

CRecordBuilder VelocitySample(const SVelocitySample& sample) {
    CRecordBuilder record(RecordId::VelocitySample, 4 * sample.velocities.size() + 12, false);
    FillVelocitySample(record, sample);
    return record;
}

CRecordBuilder VelocitySample() {
    return VelocitySample(SVelocitySample{});
}

void FillVelocitySample(CRecordBuilder& record, const SVelocitySample& sample) {
    const std::size_t nBeams = sample.velocities.size();
    assert(sample.amplitudes.size() == nBeams && sample.correlations.size() == nBeams);
    assert(record.Size() == 4 * nBeams + 12);
    record.U16(6, sample.nPressure);
    record.U16(8, sample.nAnalog1);
    for (std::size_t b = 0; b < nBeams; ++b) {
        record.I16(10 + 2 * b, sample.velocities[b]);
        record.U8(10 + 2 * nBeams + b, sample.amplitudes[b]);
        record.U8(10 + 3 * nBeams + b, sample.correlations[b]);
    }
}

CRecordBuilder SystemSample(const SSystemSample& sample) {
    CRecordBuilder record(RecordId::SystemSample, 28);
    FillSystemSample(record, sample);
    return record;
}

void FillSystemSample(CRecordBuilder& record, const SSystemSample& sample) {
    record.Clock(sample.clock);
    record.U16(10, sample.nBattery);
    record.U16(12, sample.nSoundSpeed);
    record.I16(14, sample.nHeading);
    record.I16(16, sample.nPitch);
    record.I16(18, sample.nRoll);
    record.I16(20, sample.nTemperature);
}

CRecordBuilder PeloraRecord(std::uint8_t nId, const SPeloraSample& sample) {
    const std::size_t nSize =
        3 * sample.velocities.size() + (nId == RecordId::PeloraExtended ? 68 : 32);
    CRecordBuilder record(nId, nSize + (nSize & 1));
    FillPeloraRecord(record, sample);
    return record;
}

void FillPeloraRecord(CRecordBuilder& record, const SPeloraSample& sample) {
    const std::size_t nBeams = sample.velocities.size();
    assert(sample.amplitudes.size() == nBeams);
    record.Clock(sample.clock);
    record.U16(12, sample.nAnalog1);
    record.U16(14, sample.nBattery);
    record.U16(16, sample.nSoundSpeed);
    record.I16(18, sample.nHeading);
    record.I16(20, sample.nPitch);
    record.I16(22, sample.nRoll);
    record.U8(24, static_cast<std::uint8_t>(sample.nPressure >> 16));
    record.U16(26, static_cast<std::uint16_t>(sample.nPressure));
    record.I16(28, sample.nTemperature);
    for (std::size_t b = 0; b < nBeams; ++b) {
        record.I16(30 + 2 * b, sample.velocities[b]);
        record.U8(30 + 2 * nBeams + b, sample.amplitudes[b]);
    }
}

CRecordBuilder VelocityHeader(const ClockBytes& clock, std::uint16_t nSamples) {
    CRecordBuilder record(RecordId::VelocityHeader, 42);
    FillVelocityHeader(record, clock, nSamples);
    return record;
}

void FillVelocityHeader(CRecordBuilder& record, const ClockBytes& clock, std::uint16_t nSamples) {
    record.Clock(clock);
    record.U16(10, nSamples);
}

CRecordBuilder ProfileRecord(std::uint8_t nId, int nBeams, int nCells, const ClockBytes& clock) {
    CRecordBuilder record(nId, ExpectedRecordSize(nId, nBeams, nCells));
    record.Clock(clock);
    return record;
}

// ---- Recordings -----------------------------------------------------------------------

CRecordingBuilder& CRecordingBuilder::Add(const CRecordBuilder& record) {
    record.AppendTo(m_bytes);
    return *this;
}

CRecordingBuilder& CRecordingBuilder::Add(std::span<const std::uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

CRecordingBuilder& CRecordingBuilder::Garbage(std::size_t nCount, std::uint8_t nFill) {
    assert(nFill != kSyncByte);
    m_bytes.insert(m_bytes.end(), nCount, nFill);
    return *this;
}

CRecordingBuilder& CRecordingBuilder::TruncateBy(std::size_t nCount) {
    m_bytes.resize(m_bytes.size() - std::min(nCount, m_bytes.size()));
    return *this;
}

}  // namespace sulvan::records
