#include "reader/DefaultConfiguration.hpp"

#include <cstring>
#include <string_view>

#include "config/ConfigFields.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan {
namespace {

constexpr std::string_view kDefaultSerial = "PLD 0000";
constexpr std::uint16_t kDefaultHardwareWord = 7;

using Matrix = std::int16_t[HeadField::MatrixElements];

// Transformation matrices of the beam geometries, row by row, 4096 standing for 1.0.
constexpr Matrix kIdentity = {4096, 0, 0, 0, 4096, 0, 0, 0, 4096};
constexpr Matrix kProfilerMatrix = {6461, -3232, -3232, 0, -5596, 5596, 1506, 1506, 1506};
constexpr Matrix kTwoBeamMatrix = {4846, -4846, 0, 2261, 2261, 0, 0, 0, 0};
constexpr Matrix kMultiProbeMatrix = {8200, 0, -8200, 0, 0, 8200, 0, -8200, 2050};
constexpr Matrix kCurrentMeterMatrix = {2896, 2896, 0, -2896, 2896, 0, -2896, -2896, 5792};

const Matrix& MatrixOfFamily(int nFamily) {
    switch (nFamily) {
        case Family::Tarsis:
            return kIdentity;
        case Family::Profiler2:
        case Family::Kestra:
        case Family::Profiler5:
            return kProfilerMatrix;
        case Family::Instrument4:
            return kTwoBeamMatrix;
        case Family::Corvane:
            return kMultiProbeMatrix;
        default:
            return kCurrentMeterMatrix;
    }
}

template <std::size_t N>
void Frame(std::array<std::uint8_t, N>& record, std::uint8_t nId) {
    record[0] = kSyncByte;
    record[1] = nId;
    WriteU16Le(record.data() + 2, static_cast<std::uint16_t>(N / 2));
}

}  // namespace

CInsConf::HardwareRecord MakeDefaultHardwareRecord() {
    CInsConf::HardwareRecord record{};
    Frame(record, RecordId::HardwareConfig);
    std::memcpy(record.data() + HardwareField::Serial, kDefaultSerial.data(),
                kDefaultSerial.size());
    WriteU16Le(record.data() + HardwareField::ConfigWord, kDefaultHardwareWord);
    SealRecord(record);
    return record;
}

CInsConf::HeadRecord MakeDefaultHeadRecord(int nFamily, int nFrequencyKhz, int nBeams) {
    CInsConf::HeadRecord record{};
    Frame(record, RecordId::HeadConfig);
    WriteU16Le(record.data() + HeadField::Frequency, static_cast<std::uint16_t>(nFrequencyKhz));
    std::memcpy(record.data() + HeadField::Serial, kDefaultSerial.data(), kDefaultSerial.size());
    const Matrix& matrix = MatrixOfFamily(nFamily);
    for (std::size_t i = 0; i < HeadField::MatrixElements; ++i) {
        WriteI16Le(record.data() + HeadField::Matrix + 2 * i, matrix[i]);
    }
    WriteU16Le(record.data() + HeadField::Beams, static_cast<std::uint16_t>(nBeams));
    SealRecord(record);
    return record;
}

}  // namespace sulvan
