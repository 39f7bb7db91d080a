#include "convert/WprLayout.hpp"

#include <algorithm>
#include <cstring>

#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan {
namespace {

constexpr std::size_t kProfileArrays = 118;

void WriteRecordHeader(std::span<std::uint8_t> record, std::uint8_t nId) {
    record[0] = kSyncByte;
    record[1] = nId;
    WriteU16Le(record.data() + 2, static_cast<std::uint16_t>(record.size() / 2));
}

}  // namespace

void EncodeCurrentProfile(std::span<const std::uint8_t, kProfileSourceBytes> source,
                          const SWaveBeams& beams, std::size_t nEntries,
                          std::span<std::uint8_t> record) {
    std::memset(record.data(), 0, record.size());
    std::copy(source.begin(), source.end(), record.begin());
    WriteRecordHeader(record, RecordId::CurrentProfile);
    // Fewer than three entries would let the velocities run into the amplitudes.
    const std::size_t nBeams = std::min<std::size_t>(nEntries, beams.velocity.size());
    std::uint8_t* pArrays = record.data() + kProfileArrays;
    for (std::size_t b = 0; b < nBeams; ++b) {
        WriteI16Le(pArrays + 2 * b, beams.velocity[b]);
        pArrays[2 * nEntries + b] = beams.amplitude[b];
    }
    SealRecord(record);
}

void EncodeWaveBurstHeader(const SWaveBurstHeader& header,
                           std::span<std::uint8_t, kWaveBurstHeaderSize> record) {
    std::uint8_t* p = record.data();
    std::memset(p, 0, record.size());
    WriteRecordHeader(record, RecordId::WaveBurstHeader);
    std::copy(header.clock.begin(), header.clock.end(), p + kRecordClockOffset);
    WriteU16Le(p + 10, header.nSamples);
    WriteU16Le(p + 12, header.nWord12);
    WriteU16Le(p + 14, header.nBattery);
    WriteU16Le(p + 16, header.nSoundSpeed);
    WriteI16Le(p + 18, header.nHeading);
    WriteI16Le(p + 20, header.nPitch);
    WriteI16Le(p + 22, header.nRoll);
    WriteI16Le(p + 28, header.nTemperature);
    WriteU16Le(p + 30, header.nWord30);
    std::copy(header.noise.begin(), header.noise.end(), p + 32);
    SealRecord(record);
}

void EncodeWaveSample(std::uint16_t nPressure, std::uint16_t nAnalog1, const SWaveBeams& beams,
                      std::span<std::uint8_t, kWaveSampleSize> record) {
    std::uint8_t* p = record.data();
    std::memset(p, 0, record.size());
    WriteRecordHeader(record, RecordId::WaveSample);
    WriteU16Le(p + 4, nPressure);
    WriteU16Le(p + 8, nAnalog1);
    for (std::size_t b = 0; b < beams.velocity.size(); ++b) {
        WriteI16Le(p + 10 + 2 * b, beams.velocity[b]);
        p[18 + b] = beams.amplitude[b];
    }
    SealRecord(record);
}

}  // namespace sulvan
