#include "Golden.hpp"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "CTempDir.hpp"

namespace sulvan::test {

std::string TestDataPath(const std::string& strName) {
    return std::string(SULVAN_TEST_DATA) + "/" + strName;
}

::testing::AssertionResult MatchesGolden(std::span<const std::uint8_t> actual,
                                         const std::string& strName) {
    const std::string strPath = TestDataPath(strName);
    const char* pUpdate = std::getenv("SULVAN_UPDATE_GOLDEN");
    if (pUpdate != nullptr && std::string(pUpdate) == "1") {
        std::filesystem::create_directories(std::filesystem::path(strPath).parent_path());
        WriteFileBytes(strPath, actual);
        return ::testing::AssertionSuccess() << "rewrote " << strPath;
    }
    if (!std::filesystem::exists(strPath)) {
        return ::testing::AssertionFailure() << strPath << " is missing";
    }
    const std::vector<std::uint8_t> expected = ReadFileBytes(strPath);
    std::size_t nOffset = 0;
    while (nOffset < actual.size() && nOffset < expected.size() &&
           actual[nOffset] == expected[nOffset]) {
        ++nOffset;
    }
    if (nOffset == actual.size() && nOffset == expected.size()) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream why;
    why << strName << ": " << actual.size() << " bytes against " << expected.size()
        << " expected; first difference at offset " << nOffset;
    if (nOffset < actual.size() && nOffset < expected.size()) {
        why << std::hex << " (0x" << int{actual[nOffset]} << " instead of 0x"
            << int{expected[nOffset]} << ")";
    }
    return ::testing::AssertionFailure() << why.str();
}

}  // namespace sulvan::test
