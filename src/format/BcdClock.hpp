#pragma once
// Record clocks: six bytes of two BCD digits each, in the order minute, second, day, hour,
// year within the century, month.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "platform/DateTime.hpp"

namespace sulvan {

inline constexpr std::size_t kClockSize = 6;
// Where each field lies in a clock.
namespace ClockByte {
inline constexpr std::size_t Minute = 0;
inline constexpr std::size_t Second = 1;
inline constexpr std::size_t Day = 2;
inline constexpr std::size_t Hour = 3;
inline constexpr std::size_t Year = 4;
inline constexpr std::size_t Month = 5;
}  // namespace ClockByte
using ClockBytes = std::array<std::uint8_t, kClockSize>;

// The clock written for a date-time value that cannot be formed.
inline constexpr ClockBytes kInvalidClock = {0x99, 0x99, 0x99, 0x99, 0x99, 0x99};

// Bytes above 0x99 read as 99; a low nibble above 9 is taken as it is (0x1A reads as 20).
int BcdToBin(std::uint8_t nByte);
// Values are limited to 0 to 99.
std::uint8_t BinToBcd(int nValue);

// The calendar fields of a clock without forming a date-time; the year has four digits
// (00 to 89 are 2000 to 2089, 90 to 99 are 1990 to 1999).
SDateTimeFields SplitClock(const std::uint8_t* pClock);

// The date-time of a clock; empty when the fields form no valid date and time.
std::optional<double> DecodeClock(const std::uint8_t* pClock);

// Decodes the clocks of a record walk: every record of one second carries the same clock, so
// the date-time is formed anew only when the clock changes.
class CClockDecoder {
  public:
    std::optional<double> Decode(const std::uint8_t* pClock) {
        if (!m_bKnown || !std::equal(m_last.begin(), m_last.end(), pClock)) {
            std::copy_n(pClock, kClockSize, m_last.begin());
            m_value = DecodeClock(pClock);
            m_bKnown = true;
        }
        return m_value;
    }

  private:
    ClockBytes m_last{};
    std::optional<double> m_value;
    bool m_bKnown = false;
};

// The clock of a date-time value; kInvalidClock when bInvalid is set or the value cannot be
// split into calendar fields.
ClockBytes EncodeClock(double dValue, bool bInvalid = false);

}  // namespace sulvan
