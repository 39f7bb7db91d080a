#pragma once
// Builders for Corvane recordings (.mrv): the header with the identification, the start time
// stamp and the two text blocks, and the chunks of probe records that follow. Tests and
// sulvan-synth write their inputs with these.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "RecordBuilder.hpp"

namespace sulvan::records {

// 100-nanosecond ticks since 1601-01-01 00:00 of a calendar time.
std::uint64_t FileTimeOf(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                         int nMillisecond = 0);

// The probe configuration as the recording carries it; strCommon goes into COMMON as it is.
std::string MiraveloXml(const std::vector<std::string>& serials,
                        std::string_view strCommon =
                            "<SOUND_SPEED measured=\"1\">1480.7"
                            "</SOUND_SPEED>");

// A text block: the width code, the length in 16-bit units and the text, zero-padded; with
// bWide every character takes 16 bits.
Bytes TextBlock(std::string_view strText, bool bWide = false);

// The identification "Sulvan Miravelo", a byte, two words, the start time stamp and the two
// text blocks (with bWideText in 16-bit characters).
Bytes CorvaneHeader(std::string_view strConfiguration, std::uint64_t nStartTimeStamp,
                    std::string_view strIdentification = "Sulvan Miravelo", bool bWideText = false);

// A chunk: probe index, time stamp, length in words, the record (of an even length).
Bytes CorvaneChunk(std::uint16_t nProbe, std::uint64_t nTimeStamp,
                   std::span<const std::uint8_t> record);

// Velocity record 0x51 of nb beams and nc cells: velocities, amplitudes and correlations of
// nb * nc entries each, beam-major.
struct SProbeSample {
    int nBeams = 3;
    int nCells = 1;
    bool bFineScale = false;  // 0.0001 m/s per count instead of 0.001
    std::vector<std::int16_t> velocities;
    std::vector<std::uint8_t> amplitudes;
    std::vector<std::uint8_t> correlations;
};
Bytes ProbeVelocityRecord(const SProbeSample& sample);

}  // namespace sulvan::records
