// sulvan_fuzz_seeds OUT_FOLDER RECORDING...: the first corpus of every fuzz target, written to
// OUT_FOLDER/<target>/, from the synthetic recordings of every conversion run (sulvan-synth's
// generators) and from the recordings given (the golden cases' inputs), each framed as its
// target takes its input.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>

#include "CTempDir.hpp"
#include "ConversionRuns.hpp"
#include "config/CInsConf.hpp"
#include "platform/ByteOrder.hpp"
#include "platform/Path.hpp"

namespace {

using namespace sulvan;
using records::Bytes;
namespace fs = std::filesystem;

constexpr std::uint8_t kSeeds = 6;

class CSeedWriter {
  public:
    explicit CSeedWriter(fs::path folder) : m_folder(std::move(folder)) {}

    // Writes prefix followed by the bytes from nFrom on as a seed of the target.
    void Write(const std::string& strTarget, const Bytes& prefix, const Bytes& bytes,
               std::size_t nFrom = 0) {
        Bytes seed = prefix;
        seed.insert(seed.end(), bytes.begin() + static_cast<std::ptrdiff_t>(nFrom), bytes.end());
        fs::create_directories(m_folder / strTarget);
        test::WriteFileBytes(
            (m_folder / strTarget / ("seed-" + std::to_string(++m_nSeeds))).string(), seed);
    }

    // What every target that takes a whole recording gets from one.
    void WriteRecording(const Bytes& bytes, std::string_view strExtension) {
        if (strExtension == ".mrv") {
            Write("corvane_file", {}, bytes);
            Write("xml_parse", {}, ConfigurationText(bytes));
            Write("miravelo_config", {}, ConfigurationText(bytes));
            return;
        }
        constexpr std::uint8_t kKnownGeometry = 7;  // a valid user configuration, 3 beams, 1 cell
        constexpr std::uint8_t kLearntGeometry = 6;
        Write("record_walk", {kKnownGeometry, 0}, bytes);
        Write("record_walk", {kLearntGeometry, 4}, bytes);
        Write("open", {strExtension == ".pld" ? std::uint8_t{0} : std::uint8_t{2}}, bytes);
        if (bytes.size() >= CInsConf::kBlockSize) {
            Write("configuration", {}, Bytes(bytes.begin(), bytes.begin() + CInsConf::kBlockSize));
        }
    }

  private:
    // The probe configuration of a Corvane recording of 8-bit text.
    static Bytes ConfigurationText(const Bytes& bytes) {
        constexpr std::size_t kTextStart = 34;
        if (bytes.size() < kTextStart) {
            return {};
        }
        const std::size_t nLength = std::min<std::size_t>(
            2 * std::size_t{ReadU32Le(bytes.data() + 30)}, bytes.size() - kTextStart);
        const auto pBegin = bytes.begin() + kTextStart;
        return Bytes(pBegin, std::find(pBegin, pBegin + static_cast<std::ptrdiff_t>(nLength), 0));
    }

    fs::path m_folder;
    int m_nSeeds = 0;
};

}  // namespace

int main(int nArgs, char** pArgs) {
    if (nArgs < 2) {
        std::cerr << "usage: sulvan_fuzz_seeds OUT_FOLDER [RECORDING...]\n";
        return 2;
    }
    CSeedWriter seeds(pArgs[1]);
    const test::CTempDir scratch;
    for (const test::SConversionRun& run : test::ConversionRuns()) {
        for (std::uint8_t nSeed = 0; nSeed < kSeeds; ++nSeed) {
            const test::SSyntheticRecording recording = run.synthesize(nSeed, 0, scratch.Path());
            seeds.Write(run.pName, {nSeed}, recording.bytes, recording.nDataStart);
            seeds.WriteRecording(recording.bytes, LowerExtensionOf(run.pInput));
        }
    }
    for (int i = 2; i < nArgs; ++i) {
        const std::string strExtension = LowerExtensionOf(pArgs[i]);
        seeds.WriteRecording(test::ReadFileBytes(pArgs[i]), strExtension);
    }
    return 0;
}
