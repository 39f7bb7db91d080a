#pragma once
// The fuzz targets: one entry point per parser, conversion and repair, each taking arbitrary
// bytes. libFuzzer drives them in the fuzz preset (one program each, FuzzerMain.cpp); the
// suite replays their committed corpora through the same entry points (CorpusReplayTest.cpp).
// A target returns 0; what must never happen (beyond a crash, a leak or undefined behaviour,
// which the sanitizers catch) stops the process through Require.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sulvan::fuzz {

using FuzzEntry = int (*)(const std::uint8_t* pData, std::size_t nSize);

struct SFuzzTarget {
    const char* pName;  // the program is sulvan_fuzz_<name>; its corpus tests/fuzz/corpus/<name>
    FuzzEntry entry;
};

std::span<const SFuzzTarget> FuzzTargets();
// Null when there is no target of that name.
const SFuzzTarget* FuzzTargetNamed(std::string_view strName);

// Aborts with the expectation that failed, so that libFuzzer keeps the input as a finding and
// the replay fails.
void Require(bool bHolds, const char* pExpectation);

// A folder of this process for the files a target writes, emptied of them after each input.
const std::string& ScratchFolder();
// Writes the bytes as a file in the scratch folder and returns its path.
std::string WriteScratchFile(const std::string& strName, std::span<const std::uint8_t> bytes);
// Removes everything in the scratch folder.
void ClearScratchFolder();

int FuzzRecordWalk(const std::uint8_t* pData, std::size_t nSize);
int FuzzOpen(const std::uint8_t* pData, std::size_t nSize);
// A conversion or repair of ConversionRuns() on a valid head of its kind followed by the bytes.
int FuzzConversion(std::string_view strRun, const std::uint8_t* pData, std::size_t nSize);
int FuzzCorvaneFile(const std::uint8_t* pData, std::size_t nSize);
int FuzzConfiguration(const std::uint8_t* pData, std::size_t nSize);
int FuzzXmlParse(const std::uint8_t* pData, std::size_t nSize);
int FuzzMiraveloConfig(const std::uint8_t* pData, std::size_t nSize);

}  // namespace sulvan::fuzz
