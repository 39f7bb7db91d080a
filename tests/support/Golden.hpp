#pragma once
// Expected outputs kept as files under tests/data: long byte-exact expectations live there, not
// in C++ tables. With SULVAN_UPDATE_GOLDEN=1 in the environment the files are written from what
// the program produced instead, for review in the diff.

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

namespace sulvan::test {

// The path of a file under tests/data.
std::string TestDataPath(const std::string& strName);

// Passes when the bytes equal the golden file; otherwise names the first differing offset.
::testing::AssertionResult MatchesGolden(std::span<const std::uint8_t> actual,
                                         const std::string& strName);

}  // namespace sulvan::test
