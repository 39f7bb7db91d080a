// Every input of the committed corpora through its target's entry point, without libFuzzer: the
// fuzzers' minimised corpus (tests/fuzz/corpus/<target>/) and the inputs of what they found
// (tests/fuzz/regressions/<target>/). A crash, a sanitizer report or a broken expectation fails
// the suite.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CTempDir.hpp"
#include "FuzzTargets.hpp"

namespace sulvan::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzFolder = SULVAN_FUZZ_FOLDER;

class CorpusReplay : public ::testing::TestWithParam<SFuzzTarget> {};

TEST_P(CorpusReplay, EveryInputRunsThrough) {
    const fs::path corpus = kFuzzFolder / "corpus" / GetParam().pName;
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus << " holds the target's corpus";
    std::vector<fs::path> inputs;
    for (const fs::path& folder : {corpus, kFuzzFolder / "regressions" / GetParam().pName}) {
        if (fs::is_directory(folder)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        const std::vector<std::uint8_t> bytes = test::ReadFileBytes(input.string());
        EXPECT_EQ(GetParam().entry(bytes.data(), bytes.size()), 0);
    }
}

TEST(CorpusReplay, EveryCorpusBelongsToATarget) {
    for (const char* pKind : {"corpus", "regressions"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(kFuzzFolder / pKind)) {
            EXPECT_NE(FuzzTargetNamed(entry.path().filename().string()), nullptr) << entry.path();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, ::testing::ValuesIn(FuzzTargets()),
                         [](const auto& info) { return std::string(info.param.pName); });

}  // namespace
}  // namespace sulvan::fuzz
