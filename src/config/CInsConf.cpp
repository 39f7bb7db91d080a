#include "config/CInsConf.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "config/ConfigFields.hpp"
#include "format/BcdClock.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/Numeric.hpp"

namespace sulvan {
namespace {

// Sync, identifier and size field as a record of this kind must have them, and, with
// checksum control on, a matching checksum.
bool IsAcceptableRecord(std::span<const std::uint8_t> record, std::size_t nSize, std::uint8_t nId,
                        std::uint8_t nAlternateId, bool bChecksumControl) {
    if (record.size() < nSize || record[0] != kSyncByte ||
        (record[1] != nId && record[1] != nAlternateId) ||
        std::size_t{ReadU16Le(record.data() + 2)} * 2 != nSize) {
        return false;
    }
    return !bChecksumControl || IsRecordIntact(record.first(nSize));
}

std::string ReadText(const std::uint8_t* pField, std::size_t nWidth) {
    const auto* pBegin = reinterpret_cast<const char*>(pField);
    return std::string(pBegin, strnlen(pBegin, nWidth));
}

void WriteText(std::uint8_t* pField, std::size_t nWidth, std::string_view strText) {
    const std::size_t nCount = std::min(nWidth, strText.size());
    std::memcpy(pField, strText.data(), nCount);
    std::memset(pField + nCount, 0, nWidth - nCount);
}

// A text that ends with a zero byte inside the field; what follows it stays as it was.
void WriteTerminatedText(std::uint8_t* pField, std::size_t nWidth, std::string_view strText) {
    const std::size_t nCount = std::min(nWidth - 1, strText.size());
    std::memcpy(pField, strText.data(), nCount);
    pField[nCount] = 0;
}

template <std::size_t N>
std::uint16_t SealAndCopy(std::array<std::uint8_t, N>& record, std::uint8_t* pDestination) {
    SealRecord(record);
    if (pDestination != nullptr) {
        std::memcpy(pDestination, record.data(), N);
    }
    return ReadU16Le(record.data() + N - 2);
}

std::uint16_t FlagMask(int nBit) {
    return static_cast<std::uint16_t>(1u << nBit);
}

}  // namespace

// ---- Loading ------------------------------------------------------------------------------

int CInsConf::SetHardwareConfig(std::span<const std::uint8_t> record) {
    if (!IsAcceptableRecord(record, kHardwareSize, RecordId::HardwareConfig, kAlternateHardwareId,
                            m_bChecksumControl)) {
        return 0;
    }
    std::memcpy(m_hardware.data(), record.data(), kHardwareSize);
    if (m_head[0] == kSyncByte && m_head[1] == RecordId::HeadConfig) {
        IdentifyInstrumentType();
    }
    return 1;
}

int CInsConf::SetHeadConfig(std::span<const std::uint8_t> record) {
    if (!IsAcceptableRecord(record, kHeadSize, RecordId::HeadConfig, RecordId::HeadConfig,
                            m_bChecksumControl)) {
        return 0;
    }
    std::memcpy(m_head.data(), record.data(), kHeadSize);
    if (m_hardware[0] == kSyncByte && m_hardware[1] == RecordId::HardwareConfig) {
        IdentifyInstrumentType();
    }
    return 1;
}

int CInsConf::SetUserConfig(std::span<const std::uint8_t> record) {
    if (!IsAcceptableRecord(record, kUserSize, RecordId::UserConfig, RecordId::UserConfig,
                            m_bChecksumControl)) {
        return 0;
    }
    std::memcpy(m_user.data(), record.data(), kUserSize);
    return 1;
}

// ---- Copying out --------------------------------------------------------------------------

std::uint16_t CInsConf::GetHardwareConfig(std::uint8_t* pDestination) {
    return SealAndCopy(m_hardware, pDestination);
}

std::uint16_t CInsConf::GetHeadConfig(std::uint8_t* pDestination) {
    return SealAndCopy(m_head, pDestination);
}

std::uint16_t CInsConf::GetUserConfig(std::uint8_t* pDestination) {
    return SealAndCopy(m_user, pDestination);
}

const CInsConf::UserRecord& CInsConf::GetUserConfigRecord() {
    SealRecord(m_user);
    return m_user;
}

// ---- User fields by kind ------------------------------------------------------------------

std::uint16_t CInsConf::GetUserWord(std::size_t nOffset) const {
    return ReadU16Le(m_user.data() + nOffset);
}

std::int16_t CInsConf::GetUserInt(std::size_t nOffset) const {
    return ReadI16Le(m_user.data() + nOffset);
}

void CInsConf::SetUserWord(std::size_t nOffset, int nValue) {
    WriteU16Le(m_user.data() + nOffset, static_cast<std::uint16_t>(nValue));
}

std::uint32_t CInsConf::GetUserDword(std::size_t nOffset) const {
    return ReadU32Le(m_user.data() + nOffset);
}

void CInsConf::SetUserDword(std::size_t nOffset, std::uint32_t nValue) {
    WriteU32Le(m_user.data() + nOffset, nValue);
}

bool CInsConf::GetUserFlag(std::size_t nOffset, int nBit) const {
    return (GetUserWord(nOffset) & FlagMask(nBit)) != 0;
}

void CInsConf::SetUserFlag(std::size_t nOffset, int nBit, bool bOn) {
    std::uint16_t nWord = GetUserWord(nOffset) & static_cast<std::uint16_t>(~FlagMask(nBit));
    if (bOn) {
        nWord |= FlagMask(nBit);
    }
    SetUserWord(nOffset, nWord);
}

int CInsConf::GetUserCode(std::size_t nOffset, int nBit) const {
    return (GetUserWord(nOffset) >> nBit) & 3;
}

void CInsConf::SetUserCode(std::size_t nOffset, int nBit, int nCode) {
    std::uint16_t nWord = GetUserWord(nOffset) & static_cast<std::uint16_t>(~(3u << nBit));
    nWord |= static_cast<std::uint16_t>((static_cast<unsigned>(nCode) & 3u) << nBit);
    SetUserWord(nOffset, nWord);
}

std::string CInsConf::GetUserText(std::size_t nOffset, std::size_t nWidth) const {
    return ReadText(m_user.data() + nOffset, nWidth);
}

void CInsConf::SetUserText(std::size_t nOffset, std::size_t nWidth, std::string_view strText) {
    WriteText(m_user.data() + nOffset, nWidth, strText);
}

std::uint16_t CInsConf::GetHeadWord(std::size_t nOffset) const {
    return ReadU16Le(m_head.data() + nOffset);
}

std::int16_t CInsConf::GetHeadInt(std::size_t nOffset) const {
    return ReadI16Le(m_head.data() + nOffset);
}

std::uint16_t CInsConf::GetHardwareWord(std::size_t nOffset) const {
    return ReadU16Le(m_hardware.data() + nOffset);
}

// ---- Fields with rules of their own -------------------------------------------------------

std::string CInsConf::GetHardwareSerial() const {
    return ReadText(m_hardware.data() + HardwareField::Serial, HardwareField::SerialWidth);
}

void CInsConf::SetHardwareSerial(std::string_view strSerial) {
    WriteTerminatedText(m_hardware.data() + HardwareField::Serial, HardwareField::SerialWidth,
                        strSerial);
}

std::string CInsConf::GetHeadSerial() const {
    return ReadText(m_head.data() + HeadField::Serial, HeadField::SerialWidth);
}

void CInsConf::SetHeadSerial(std::string_view strSerial) {
    WriteTerminatedText(m_head.data() + HeadField::Serial, HeadField::SerialWidth, strSerial);
}

std::string CInsConf::GetFirmwareText() const {
    return ReadText(m_hardware.data() + HardwareField::Firmware, HardwareField::FirmwareWidth);
}

void CInsConf::SetFirmwareText(std::string_view strFirmware) {
    WriteText(m_hardware.data() + HardwareField::Firmware, HardwareField::FirmwareWidth,
              strFirmware);
}

double CInsConf::GetFirmwareVersion() const {
    std::string strText = GetFirmwareText();
    while (!strText.empty() && strText.back() == ' ') {
        strText.pop_back();
    }
    if (strText.size() >= 2) {
        strText[1] = '.';
    }
    const std::size_t nStart = strText.find_first_not_of(' ');
    if (nStart == std::string::npos) {
        return 0.0;
    }
    double dVersion = 0.0;
    const auto [pEnd, error] =
        std::from_chars(strText.data() + nStart, strText.data() + strText.size(), dVersion);
    return error == std::errc{} ? dVersion : 0.0;
}

int CInsConf::GetHeadFrequency() {
    constexpr std::uint16_t kMisreported = 200;
    constexpr std::uint16_t kActual = 190;
    if (GetHeadWord(HeadField::Frequency) == kMisreported) {
        WriteU16Le(m_head.data() + HeadField::Frequency, kActual);
    }
    return GetHeadWord(HeadField::Frequency);
}

int CInsConf::GetHeadBeams() const {
    return GetHeadWord(HeadField::Beams);
}

void CInsConf::SetHeadBeams(int nBeams) {
    WriteU16Le(m_head.data() + HeadField::Beams, static_cast<std::uint16_t>(nBeams));
}

bool CInsConf::HasCompass() const {
    return (GetHeadWord(HeadField::ConfigWord) & FlagMask(HeadField::CompassBit)) != 0;
}

bool CInsConf::GetHardwareOption1() const {
    const std::uint16_t nCode = GetHardwareWord(HardwareField::OptionCode);
    return nCode == 0x4321 || nCode == 0x89AB || nCode == 0xC7A4;
}

bool CInsConf::GetHardwareOption2() const {
    return GetHardwareWord(HardwareField::OptionCode) == 0x5678;
}

bool CInsConf::GetHardwareOption3() const {
    return GetHardwareWord(HardwareField::OptionCode) == 0x6767;
}

int CInsConf::GetUserBeams() const {
    return GetUserWord(UserField::Beams);
}

void CInsConf::SetUserBeams(int nBeams) {
    SetUserWord(UserField::Beams, nBeams);
}

int CInsConf::GetUserCells() const {
    return GetUserWord(UserField::Cells);
}

void CInsConf::SetUserCells(int nCells) {
    SetUserWord(UserField::Cells, nCells);
}

bool CInsConf::GetFineVelocityScale() const {
    return GetUserFlag(UserField::ModeWord, UserField::FineVelocityScaleBit);
}

void CInsConf::SetFineVelocityScale(bool bFine) {
    SetUserFlag(UserField::ModeWord, UserField::FineVelocityScaleBit, bFine);
}

bool CInsConf::GetThreeBeamFlag() const {
    return GetUserFlag(UserField::SecondModeWord, UserField::ThreeBeamBit);
}

void CInsConf::SetTimingBit1(bool bOn) {
    SetUserFlag(UserField::TimingControl, 0, false);
    SetUserFlag(UserField::TimingControl, UserField::TimingBit1, bOn);
}

bool CInsConf::GetTimingBit3Inverted() const {
    return !GetUserFlag(UserField::TimingControl, UserField::TimingBit3);
}

void CInsConf::SetTimingBit3Inverted(bool bOn) {
    SetUserFlag(UserField::TimingControl, 2, false);
    SetUserFlag(UserField::TimingControl, UserField::TimingBit3, !bOn);
}

double CInsConf::GetSalinity() const {
    return GetUserWord(UserField::Salinity) * 0.1;
}

void CInsConf::SetSalinity(double dPpt) {
    const double dTenths = std::clamp(RoundHalfAwayFromZero(dPpt * 10.0), 0.0, 65535.0);
    SetUserWord(UserField::Salinity, static_cast<int>(dTenths));
    FillSoundSpeedTable();
}

double CInsConf::GetSoundSpeed() const {
    return GetUserWord(UserField::SoundSpeed) * 1500.0 / 16384.0;
}

void CInsConf::SetSoundSpeed(double dMetresPerSecond) {
    SetUserWord(UserField::SoundSpeed, RoundToU16Bits(dMetresPerSecond * 16384.0 / 1500.0));
}

std::string CInsConf::GetDeploymentName() const {
    return GetUserText(UserField::DeploymentName, UserField::DeploymentNameWidth);
}

void CInsConf::SetDeploymentName(std::string_view strName) {
    SetUserText(UserField::DeploymentName, UserField::DeploymentNameWidth, strName);
}

std::string CInsConf::GetComment() const {
    return GetUserText(UserField::Comment, UserField::CommentWidth);
}

void CInsConf::SetComment(std::string_view strComment) {
    SetUserText(UserField::Comment, UserField::CommentWidth, strComment);
}

void CInsConf::SetDeploymentStart(double dDateTime) {
    const ClockBytes clock = EncodeClock(dDateTime);
    std::memcpy(m_user.data() + UserField::DeploymentStart, clock.data(), clock.size());
}

std::optional<double> CInsConf::GetDeploymentStart() const {
    return DecodeClock(m_user.data() + UserField::DeploymentStart);
}

std::pair<int, int> CInsConf::GetAnalogInputs() const {
    static constexpr int kChannelsOfOthers[] = {1, 1, 2, 3};
    static constexpr int kChannelsOfVelocimeters[] = {2, 2, 1};
    const bool bVelocimeter = m_nType == Family::Tarsis || m_nType == Family::Corvane;
    const std::span<const int> channels = bVelocimeter
                                              ? std::span<const int>(kChannelsOfVelocimeters)
                                              : std::span<const int>(kChannelsOfOthers);
    const std::uint16_t nWord = GetUserWord(UserField::AnalogInputs);
    int nA = 0;
    int nB = 0;
    for (std::size_t nField = 0; nField < channels.size(); ++nField) {
        const int nAssignment = (nWord >> (4 * nField)) & 0x0F;
        if (nAssignment == 1) {
            nA = channels[nField];
        } else if (nAssignment == 2) {
            nB = channels[nField];
        }
    }
    return {nA, nB};
}

// ---- Derived ------------------------------------------------------------------------------

int CInsConf::GetInstrumentType() {
    IdentifyInstrumentType();
    return m_nType;
}

bool CInsConf::PassesFeatureCheck() const {
    if (m_nType != Family::Pelora || (GetHardwareWord(HardwareField::ConfigWord) &
                                      FlagMask(HardwareField::ConfigFeatureBit)) == 0) {
        return false;
    }
    const double dMinimum = m_head[HeadField::Serial + 2] == 'L' ? 3.34 : 3.33;
    return GetFirmwareVersion() >= dMinimum;
}

}  // namespace sulvan
