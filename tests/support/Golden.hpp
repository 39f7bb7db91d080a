#pragma once
// Expected outputs kept as files under tests/data: long byte-exact expectations live there, not
// in C++ tables. With SULVAN_UPDATE_GOLDEN=1 in the environment the files are written from what
// the program produced instead, for review in the diff.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sulvan::test {

// The part of a file an offset falls in: the header, block, sample record and probe of an .adv
// file, the record (index, identifier, start) of a record file, else the plain offset.
std::string DescribeOffset(std::span<const std::uint8_t> bytes, std::size_t nOffset);

// Nothing when the bytes are equal; otherwise the sizes and the first differing offset, named.
std::optional<std::string> FirstDifference(std::span<const std::uint8_t> actual,
                                           std::span<const std::uint8_t> expected);

// Whether SULVAN_UPDATE_GOLDEN=1 asks for expected files to be rewritten from what was made.
bool UpdatingGolden();

// The path of a file under tests/data.
std::string TestDataPath(const std::string& strName);

// Passes when the bytes equal the golden file; otherwise names the first differing offset.
::testing::AssertionResult MatchesGolden(std::span<const std::uint8_t> actual,
                                         const std::string& strName);

}  // namespace sulvan::test
