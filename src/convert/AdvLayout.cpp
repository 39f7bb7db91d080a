#include "convert/AdvLayout.hpp"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/ByteOrder.hpp"

namespace sulvan {
namespace {

constexpr std::string_view kAdvSignature{"ADV 3.0\0", 8};
constexpr std::uint8_t kEmptySlot = 3;
constexpr std::size_t kNameWidth = 6;
constexpr std::size_t kCommentWidth = 60;

void WriteText(std::uint8_t* pField, std::size_t nWidth, const std::string& strText) {
    std::memcpy(pField, strText.data(), std::min(nWidth, strText.size()));
}

std::uint8_t FieldByte(int nValue) {
    return static_cast<std::uint8_t>(nValue);
}

}  // namespace

std::array<std::uint8_t, kAdvFileHeaderSize> EncodeAdvFileHeader(const SAdvFileHeader& header) {
    std::array<std::uint8_t, kAdvFileHeaderSize> bytes{};
    std::uint8_t* p = bytes.data();
    std::memcpy(p, kAdvSignature.data(), kAdvSignature.size());
    if (header.start) {
        WriteU16Le(p + 8, static_cast<std::uint16_t>(header.start->nYear));
        p[10] = FieldByte(header.start->nDay);
        p[11] = FieldByte(header.start->nMonth);
        p[12] = FieldByte(header.start->nMinute);
        p[13] = FieldByte(header.start->nHour);
        p[15] = FieldByte(header.start->nSecond);
    } else {
        WriteU16Le(p + 8, 0xFFFF);
        for (std::size_t nOffset : {10u, 11u, 12u, 13u, 15u}) {
            p[nOffset] = 0xFF;
        }
    }
    p[14] = header.nHundredths;
    for (std::size_t nProbe = 0; nProbe < kAdvMaxProbes; ++nProbe) {
        p[16 + nProbe] = nProbe < header.nProbes ? 0 : kEmptySlot;
    }
    WriteF32Le(p + 26, header.fTemperature);
    WriteF32Le(p + 30, header.fSalinity);
    WriteF32Le(p + 34, header.fSoundSpeed);
    WriteF32Le(p + 38, header.fSampleRate);
    WriteU16Le(p + 42, header.nVelocityRange);
    WriteU16Le(p + 44, header.nSyncCode);
    WriteI16Le(p + 48, header.nAttitude);
    WriteText(p + 52, kNameWidth, header.strName);
    WriteText(p + 92, kCommentWidth, header.strComment);
    return bytes;
}

std::array<std::uint8_t, kAdvInstrumentBlockSize> EncodeAdvInstrumentBlock(
    const SAdvInstrumentBlock& block) {
    std::array<std::uint8_t, kAdvInstrumentBlockSize> bytes{};
    std::uint8_t* p = bytes.data();
    WriteText(p + 10, 6, block.strSerial);
    p[16] = block.nHeadType;
    WriteU16Le(p + 18, block.nBeams);
    WriteU16Le(p + 20, block.nHeadQuantity);
    for (std::size_t i = 0; i < block.matrix.size(); ++i) {
        WriteF32Le(p + 120 + 4 * i, block.matrix[i]);
    }
    WriteF32Le(p + 160, block.fSoundSpeed);
    return bytes;
}

std::size_t EncodeAdvSample(const SAdvSample& sample, bool bWithAttitude, std::uint8_t* pOut) {
    for (std::size_t b = 0; b < 3; ++b) {
        WriteF32Le(pOut + 4 * b, sample.velocity[b]);
        pOut[12 + b] = sample.amplitude[b];
        pOut[15 + b] = sample.correlation[b];
    }
    if (!bWithAttitude) {
        return kAdvSampleSize;
    }
    WriteI16Le(pOut + 18, sample.nHeading);
    WriteI16Le(pOut + 20, sample.nPitch);
    WriteI16Le(pOut + 22, sample.nRoll);
    WriteI16Le(pOut + 24, sample.nTemperature);
    return kAdvSampleWithAttitudeSize;
}

}  // namespace sulvan
