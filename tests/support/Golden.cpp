#include "Golden.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "CTempDir.hpp"

namespace sulvan::test {
namespace {

constexpr std::size_t kAdvHeaderSize = 300;
constexpr std::size_t kAdvBlockSize = 254;
constexpr std::uint8_t kSync = 0xA5;

// Which part of an .adv file an offset falls in: the probes present are the slot flags at 16 to
// 23 that do not read 3; a sample is 26 bytes when the attitude word at 48 is set, else 18; a
// sample record holds one sample per probe and two more bytes.
std::string DescribeAdvOffset(std::span<const std::uint8_t> bytes, std::size_t nOffset) {
    std::ostringstream where;
    if (nOffset < kAdvHeaderSize) {
        where << "file header byte " << nOffset;
        return where.str();
    }
    std::size_t nProbes = 0;
    for (std::size_t i = 16; i < 24; ++i) {
        nProbes += bytes[i] != 3 ? 1U : 0U;
    }
    const std::size_t nBlocks = kAdvHeaderSize + kAdvBlockSize * nProbes;
    if (nOffset < nBlocks) {
        where << "instrument block " << (nOffset - kAdvHeaderSize) / kAdvBlockSize << " byte "
              << (nOffset - kAdvHeaderSize) % kAdvBlockSize;
        return where.str();
    }
    const std::size_t nSampleSize = (bytes[48] | bytes[49]) != 0 ? 26 : 18;
    const std::size_t nRecordSize = nSampleSize * nProbes + 2;
    const std::size_t nInRecord = (nOffset - nBlocks) % nRecordSize;
    where << "sample record " << (nOffset - nBlocks) / nRecordSize;
    if (nInRecord < nSampleSize * nProbes) {
        where << " probe " << nInRecord / nSampleSize << " byte " << nInRecord % nSampleSize;
    } else {
        where << " trailing byte " << nInRecord - nSampleSize * nProbes;
    }
    return where.str();
}

// Which record of a record file an offset falls in, stepping by the size word of each record;
// past the first byte that is no sync byte the walk cannot tell and names the last record.
std::string DescribeRecordOffset(std::span<const std::uint8_t> bytes, std::size_t nOffset) {
    std::size_t nStart = 0;
    std::size_t nIndex = 0;
    while (nStart + 4 <= bytes.size() && bytes[nStart] == kSync) {
        const std::size_t nSize = 2 * (bytes[nStart + 2] | std::size_t{bytes[nStart + 3]} << 8);
        if (nSize < 4 || nOffset < nStart + nSize) {
            break;
        }
        nStart += nSize;
        ++nIndex;
    }
    std::ostringstream where;
    where << "record " << nIndex << " (identifier 0x" << std::hex
          << (nStart + 1 < bytes.size() ? int{bytes[nStart + 1]} : 0) << std::dec << " at offset "
          << nStart << ") byte " << nOffset - nStart;
    return where.str();
}

}  // namespace

std::string DescribeOffset(std::span<const std::uint8_t> bytes, std::size_t nOffset) {
    const std::string_view kAdvMagic = "ADV 3.0";
    if (bytes.size() >= kAdvHeaderSize &&
        std::equal(kAdvMagic.begin(), kAdvMagic.end(), bytes.begin())) {
        return DescribeAdvOffset(bytes, nOffset);
    }
    if (!bytes.empty() && bytes[0] == kSync) {
        return DescribeRecordOffset(bytes, nOffset);
    }
    return "byte " + std::to_string(nOffset);
}

std::optional<std::string> FirstDifference(std::span<const std::uint8_t> actual,
                                           std::span<const std::uint8_t> expected) {
    const auto [itActual, itExpected] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (itActual == actual.end() && itExpected == expected.end()) {
        return std::nullopt;
    }
    const auto nOffset = static_cast<std::size_t>(itActual - actual.begin());
    std::ostringstream why;
    why << actual.size() << " bytes against " << expected.size()
        << " expected; first difference at offset " << nOffset << ", "
        << DescribeOffset(expected.size() > nOffset ? expected : actual, nOffset);
    if (itActual != actual.end() && itExpected != expected.end()) {
        why << std::hex << " (0x" << int{*itActual} << " instead of 0x" << int{*itExpected} << ")";
    }
    return why.str();
}

bool UpdatingGolden() {
    const char* pUpdate = std::getenv("SULVAN_UPDATE_GOLDEN");
    return pUpdate != nullptr && std::string(pUpdate) == "1";
}

std::string TestDataPath(const std::string& strName) {
    return std::string(SULVAN_TEST_DATA) + "/" + strName;
}

::testing::AssertionResult MatchesGolden(std::span<const std::uint8_t> actual,
                                         const std::string& strName) {
    const std::string strPath = TestDataPath(strName);
    if (UpdatingGolden()) {
        std::filesystem::create_directories(std::filesystem::path(strPath).parent_path());
        WriteFileBytes(strPath, actual);
        return ::testing::AssertionSuccess() << "rewrote " << strPath;
    }
    if (!std::filesystem::exists(strPath)) {
        return ::testing::AssertionFailure() << strPath << " is missing";
    }
    const std::optional<std::string> difference = FirstDifference(actual, ReadFileBytes(strPath));
    if (!difference) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << strName << ": " << *difference;
}

}  // namespace sulvan::test
