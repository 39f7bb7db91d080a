#pragma once
// The three configuration records of a recording (hardware 48 bytes, head 224 bytes, user
// 512 bytes) held as raw bytes exactly as read, with typed access to single fields in place.
// Loading checks a record; copying one out refreshes its checksum, so a configuration changed
// field by field can be written to another file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace sulvan {

// Instrument families and types share their codes.
namespace Family {
inline constexpr int Pelora = 0;
inline constexpr int Tarsis = 1;
inline constexpr int Profiler2 = 2;
inline constexpr int Kestra = 3;
inline constexpr int Instrument4 = 4;
inline constexpr int Profiler5 = 5;
inline constexpr int Corvane = 6;
}  // namespace Family

class CInsConf {
  public:
    static constexpr std::size_t kHardwareSize = 48;
    static constexpr std::size_t kHeadSize = 224;
    static constexpr std::size_t kUserSize = 512;
    // The three records at the head of a file of the standard layout; data begin after them.
    static constexpr std::size_t kBlockSize = kHardwareSize + kHeadSize + kUserSize;
    // Size fields of the three records, in 16-bit words.
    static constexpr std::uint16_t kHardwareWords = 24;
    static constexpr std::uint16_t kHeadWords = 112;
    static constexpr std::uint16_t kUserWords = 256;
    // Another identifier a hardware record may carry.
    static constexpr std::uint8_t kAlternateHardwareId = 0xFD;

    using HardwareRecord = std::array<std::uint8_t, kHardwareSize>;
    using HeadRecord = std::array<std::uint8_t, kHeadSize>;
    using UserRecord = std::array<std::uint8_t, kUserSize>;

    CInsConf() = default;
    virtual ~CInsConf() = default;

    // ---- Loading: 1 when the record was taken, 0 when refused (the stored copy stays). A
    // record shorter than its kind is refused.
    int SetHardwareConfig(std::span<const std::uint8_t> record);
    int SetHeadConfig(std::span<const std::uint8_t> record);
    int SetUserConfig(std::span<const std::uint8_t> record);
    // When on, loading also verifies the checksum.
    void SetChecksumControl(bool bOn) { m_bChecksumControl = bOn; }

    // ---- Copying out: the checksum is refreshed in the stored record first.
    std::uint16_t GetHardwareConfig(std::uint8_t* pDestination);
    std::uint16_t GetHeadConfig(std::uint8_t* pDestination);
    std::uint16_t GetUserConfig(std::uint8_t* pDestination);
    const UserRecord& GetUserConfigRecord();

    // The records as held, checksums as they are.
    const HardwareRecord& Hardware() const { return m_hardware; }
    const HeadRecord& Head() const { return m_head; }
    const UserRecord& User() const { return m_user; }

    // ---- User record fields by kind; offsets in ConfigFields.hpp. Setters never touch the
    // checksum.
    std::uint16_t GetUserWord(std::size_t nOffset) const;
    std::int16_t GetUserInt(std::size_t nOffset) const;
    void SetUserWord(std::size_t nOffset, int nValue);  // stores the low 16 bits
    std::uint32_t GetUserDword(std::size_t nOffset) const;
    void SetUserDword(std::size_t nOffset, std::uint32_t nValue);
    bool GetUserFlag(std::size_t nOffset, int nBit) const;
    void SetUserFlag(std::size_t nOffset, int nBit, bool bOn);
    // A two-bit code at bits nBit and nBit + 1: 0 to 3.
    int GetUserCode(std::size_t nOffset, int nBit) const;
    void SetUserCode(std::size_t nOffset, int nBit, int nCode);
    // Up to the first zero byte, at most nWidth characters; the setter zero-fills the rest.
    std::string GetUserText(std::size_t nOffset, std::size_t nWidth) const;
    void SetUserText(std::size_t nOffset, std::size_t nWidth, std::string_view strText);

    std::uint16_t GetHeadWord(std::size_t nOffset) const;
    std::int16_t GetHeadInt(std::size_t nOffset) const;
    std::uint16_t GetHardwareWord(std::size_t nOffset) const;

    // ---- Fields with rules of their own.
    std::string GetHardwareSerial() const;
    // Writes the text and one zero byte after it; the rest of the field keeps its bytes.
    void SetHardwareSerial(std::string_view strSerial);
    std::string GetHeadSerial() const;
    // As SetHardwareSerial.
    void SetHeadSerial(std::string_view strSerial);
    std::string GetFirmwareText() const;
    void SetFirmwareText(std::string_view strFirmware);
    // The firmware text without trailing blanks, its second character taken as the decimal
    // point, read as a number; 0 when it cannot be read.
    double GetFirmwareVersion() const;
    // kHz. A stored 200 reads as 190 and is stored as 190 from then on.
    int GetHeadFrequency();
    int GetHeadBeams() const;
    void SetHeadBeams(int nBeams);
    bool HasCompass() const;
    bool GetHardwareOption1() const;
    bool GetHardwareOption2() const;
    bool GetHardwareOption3() const;

    int GetUserBeams() const;
    void SetUserBeams(int nBeams);
    int GetUserCells() const;
    void SetUserCells(int nCells);
    bool GetFineVelocityScale() const;
    void SetFineVelocityScale(bool bFine);
    bool GetThreeBeamFlag() const;
    // Timing bit 1; setting it also clears bit 0.
    void SetTimingBit1(bool bOn);
    // Timing bit 3 read inverted (clear reads as true); the setter also clears bit 2.
    bool GetTimingBit3Inverted() const;
    void SetTimingBit3Inverted(bool bOn);

    // Salinity in ppt, stored in 0.1 ppt; setting it refills the sound speed table.
    double GetSalinity() const;
    void SetSalinity(double dPpt);
    // Sound speed in m/s: stored × 1500 / 16384.
    double GetSoundSpeed() const;
    void SetSoundSpeed(double dMetresPerSecond);

    std::string GetDeploymentName() const;
    void SetDeploymentName(std::string_view strName);
    std::string GetComment() const;
    void SetComment(std::string_view strComment);
    // Fields that cannot be formed become 0x99.
    void SetDeploymentStart(double dDateTime);
    std::optional<double> GetDeploymentStart() const;

    // The analog channels (a, b), each 0 to 3.
    std::pair<int, int> GetAnalogInputs() const;

    // ---- Derived.
    // Identifies the type from the serial numbers (type 4 also sets the user cell count).
    int GetInstrumentType();
    int GetStoredType() const { return m_nType; }
    // Type 0 with hardware bit 3 and firmware at least 3.33 (3.34 for heads whose serial has
    // 'L' as third character).
    bool PassesFeatureCheck() const;

    // Restores the wave processing block to its defaults; returns 490.
    int ResetWaveProcessing();
    // Builds the default user record for the family and makes it the instrument type.
    // The checksum is filled in when the record is copied out.
    void MakeDefaultUserConfig(int nFamily);

  private:
    void IdentifyInstrumentType();
    void FillSoundSpeedTable();
    int CellsForInstrument4() const;

    int m_nType = 0;
    bool m_bChecksumControl = true;
    HardwareRecord m_hardware{};
    HeadRecord m_head{};
    UserRecord m_user{};
};

}  // namespace sulvan
