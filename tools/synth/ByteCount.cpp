#include "ByteCount.hpp"

#include <charconv>
#include <limits>

namespace sulvan::synth {
namespace {

std::optional<unsigned> SuffixShift(char cSuffix) {
    switch (cSuffix) {
        case 'K':
        case 'k':
            return 10;
        case 'M':
        case 'm':
            return 20;
        case 'G':
        case 'g':
            return 30;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<std::uint64_t> ParseByteCount(std::string_view strText) {
    std::uint64_t nCount = 0;
    const char* pEnd = strText.data() + strText.size();
    const auto [pStop, error] = std::from_chars(strText.data(), pEnd, nCount);
    if (error != std::errc{} || pStop == strText.data()) {
        return std::nullopt;
    }
    if (pStop == pEnd) {
        return nCount;
    }
    const std::optional<unsigned> nShift = SuffixShift(*pStop);
    if (!nShift || pStop + 1 != pEnd ||
        nCount > (std::numeric_limits<std::uint64_t>::max() >> *nShift)) {
        return std::nullopt;
    }
    return nCount << *nShift;
}

}  // namespace sulvan::synth
