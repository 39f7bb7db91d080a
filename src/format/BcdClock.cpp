#include "format/BcdClock.hpp"

#include <algorithm>

namespace sulvan {
namespace {

constexpr int kCenturyPivot = 90;

}  // namespace

int BcdToBin(std::uint8_t nByte) {
    const int nClamped = std::min<int>(nByte, 0x99);
    return (nClamped >> 4) * 10 + (nClamped & 0x0F);
}

std::uint8_t BinToBcd(int nValue) {
    const int nClamped = std::clamp(nValue, 0, 99);
    return static_cast<std::uint8_t>(((nClamped / 10) << 4) | (nClamped % 10));
}

SDateTimeFields SplitClock(const std::uint8_t* pClock) {
    SDateTimeFields fields;
    const int nYear = BcdToBin(pClock[ClockByte::Year]);
    fields.nYear = nYear < kCenturyPivot ? 2000 + nYear : 1900 + nYear;
    fields.nMonth = BcdToBin(pClock[ClockByte::Month]);
    fields.nDay = BcdToBin(pClock[ClockByte::Day]);
    fields.nHour = BcdToBin(pClock[ClockByte::Hour]);
    fields.nMinute = BcdToBin(pClock[ClockByte::Minute]);
    fields.nSecond = BcdToBin(pClock[ClockByte::Second]);
    return fields;
}

std::optional<double> DecodeClock(const std::uint8_t* pClock) {
    return DateTimeFromFields(SplitClock(pClock));
}

ClockBytes EncodeClock(double dValue, bool bInvalid) {
    const std::optional<SDateTimeFields> fields =
        bInvalid ? std::nullopt : FieldsFromDateTime(dValue);
    if (!fields) {
        return kInvalidClock;
    }
    ClockBytes clock{};
    clock[ClockByte::Minute] = BinToBcd(fields->nMinute);
    clock[ClockByte::Second] = BinToBcd(fields->nSecond);
    clock[ClockByte::Day] = BinToBcd(fields->nDay);
    clock[ClockByte::Hour] = BinToBcd(fields->nHour);
    clock[ClockByte::Year] = BinToBcd(fields->nYear % 100);
    clock[ClockByte::Month] = BinToBcd(fields->nMonth);
    return clock;
}

}  // namespace sulvan
