#include "CorvaneBuilder.hpp"

#include <cassert>

#include "platform/ByteOrder.hpp"
#include "platform/DateTime.hpp"

namespace sulvan::records {
namespace {

// Days from 1601-01-01 to 1899-12-30, the zero of date-time values.
constexpr std::uint64_t kDaysTo1899 = 109205;
constexpr std::uint64_t kTicksPerDay = 864000000000;

void AppendU16(Bytes& bytes, std::uint16_t nValue) {
    bytes.resize(bytes.size() + 2);
    WriteU16Le(bytes.data() + bytes.size() - 2, nValue);
}

void AppendU64(Bytes& bytes, std::uint64_t nValue) {
    bytes.resize(bytes.size() + 8);
    WriteU64Le(bytes.data() + bytes.size() - 8, nValue);
}

}  // namespace

std::uint64_t FileTimeOf(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                         int nMillisecond) {
    const double dDays = *DateTimeFromFields({nYear, nMonth, nDay, 0, 0, 0});
    const std::uint64_t nMilliseconds =
        ((std::uint64_t(nHour) * 60 + std::uint64_t(nMinute)) * 60 + std::uint64_t(nSecond)) *
            1000 +
        std::uint64_t(nMillisecond);
    return (static_cast<std::uint64_t>(dDays) + kDaysTo1899) * kTicksPerDay + nMilliseconds * 10000;
}

std::string MiraveloXml(const std::vector<std::string>& serials, std::string_view strCommon) {
    std::string strXml =
        "<?xml version=\"1.0\"?>\n<MIRAVELO type=\"Sulvan Miravelo\" "
        "version=\"1\">\n<COMMON>" +
        std::string(strCommon) + "</COMMON>\n";
    for (const std::string& strSerial : serials) {
        strXml += "<PROBE><SERIAL_NUMBER>" + strSerial + "</SERIAL_NUMBER></PROBE>\n";
    }
    return strXml + "</MIRAVELO>\n";
}

Bytes TextBlock(std::string_view strText, bool bWide) {
    Bytes bytes;
    AppendU16(bytes, bWide ? 2 : 1);
    const std::size_t nUnits = bWide ? strText.size() : (strText.size() + 1) / 2;
    bytes.resize(bytes.size() + 4);
    WriteU32Le(bytes.data() + 2, static_cast<std::uint32_t>(nUnits));
    for (const char c : strText) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        if (bWide) {
            bytes.push_back(0);
        }
    }
    bytes.resize(6 + 2 * nUnits, 0);
    return bytes;
}

Bytes CorvaneHeader(std::string_view strConfiguration, std::uint64_t nStartTimeStamp,
                    std::string_view strIdentification, bool bWideText) {
    Bytes bytes(strIdentification.begin(), strIdentification.end());
    bytes.resize(16, 0);
    AppendU16(bytes, 0x0102);
    AppendU16(bytes, 0x0304);
    AppendU64(bytes, nStartTimeStamp);
    const Bytes configuration = TextBlock(strConfiguration, bWideText);
    const Bytes second = TextBlock("second text", bWideText);
    bytes.insert(bytes.end(), configuration.begin(), configuration.end());
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

Bytes CorvaneChunk(std::uint16_t nProbe, std::uint64_t nTimeStamp,
                   std::span<const std::uint8_t> record) {
    assert(record.size() % 2 == 0);
    Bytes bytes;
    AppendU16(bytes, nProbe);
    AppendU64(bytes, nTimeStamp);
    AppendU16(bytes, static_cast<std::uint16_t>(record.size() / 2));
    bytes.insert(bytes.end(), record.begin(), record.end());
    return bytes;
}

Bytes ProbeVelocityRecord(const SProbeSample& sample) {
    [[maybe_unused]] const auto nEntries = static_cast<std::size_t>(sample.nBeams * sample.nCells);
    assert(sample.velocities.size() == nEntries && sample.amplitudes.size() == nEntries &&
           sample.correlations.size() == nEntries);
    Bytes bytes = {0xA5, 0x51};
    AppendU16(bytes, static_cast<std::uint16_t>((sample.nBeams - 1) | ((sample.nCells - 1) << 2) |
                                                (sample.bFineScale ? 0x20 : 0)));
    for (const std::int16_t nVelocity : sample.velocities) {
        AppendU16(bytes, static_cast<std::uint16_t>(nVelocity));
    }
    bytes.insert(bytes.end(), sample.amplitudes.begin(), sample.amplitudes.end());
    bytes.insert(bytes.end(), sample.correlations.begin(), sample.correlations.end());
    bytes.resize(bytes.size() + (bytes.size() & 1), 0);
    return bytes;
}

}  // namespace sulvan::records
