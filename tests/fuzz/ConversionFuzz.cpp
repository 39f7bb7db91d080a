// Each conversion and repair on a valid head of its kind (the configuration block of one of the
// row's synthetic recordings, or a Corvane header) followed by arbitrary bytes. The first byte
// chooses the head. Whatever the bytes, the run ends with a truthful outcome: the files it
// lists as written exist, a converted file holds data records, a failure says why, and the input
// is never changed.

#include <filesystem>
#include <map>

#include "CTempDir.hpp"
#include "ConversionRuns.hpp"
#include "FuzzTargets.hpp"
#include "platform/Path.hpp"

namespace sulvan::fuzz {
namespace {

// Heads of the synthetic recordings of nSeed 0 to kHeads - 1: their options differ in beams,
// compass, burst length and probes.
constexpr std::uint8_t kHeads = 6;

const records::Bytes& HeadOf(const test::SConversionRun& run, std::uint8_t nHead) {
    static std::map<std::pair<std::string, std::uint8_t>, records::Bytes> heads;
    records::Bytes& head = heads[{run.pName, nHead}];
    if (head.empty()) {
        const test::CTempDir folder;
        const test::SSyntheticRecording recording = run.synthesize(nHead, 0, folder.Path());
        head.assign(recording.bytes.begin(),
                    recording.bytes.begin() + static_cast<std::ptrdiff_t>(recording.nDataStart));
    }
    return head;
}

void CheckOutcome(const SFileOutcome& outcome) {
    for (const SWrittenFile& file : outcome.written) {
        Require(std::filesystem::is_regular_file(file.strPath), "a file listed as written exists");
    }
    for (const std::string& strPath : outcome.incomplete) {
        Require(std::filesystem::exists(strPath), "a file listed as incomplete exists");
    }
    Require(!outcome.IsFailed() || !outcome.messages.empty(), "a failure says why");
    Require(outcome.fate != EFileFate::Converted || outcome.DataRecords() > 0,
            "a converted file holds data records");
}

}  // namespace

int FuzzConversion(std::string_view strRun, const std::uint8_t* pData, std::size_t nSize) {
    if (nSize < 1) {
        return 0;
    }
    const test::SConversionRun& run = test::ConversionRunNamed(strRun);
    records::Bytes input = HeadOf(run, pData[0] % kHeads);
    input.insert(input.end(), pData + 1, pData + nSize);
    const std::string strInput = WriteScratchFile(run.pInput, input);
    const std::string strOutputs = JoinPath(ScratchFolder(), "out");
    std::filesystem::create_directory(strOutputs);
    test::CAnsweringUserInterface ui(run.bYes);
    CheckOutcome(test::RunConversion(run, ui, strInput, strOutputs));
    Require(test::ReadFileBytes(strInput) == input, "the input is never changed");
    ClearScratchFolder();
    return 0;
}

}  // namespace sulvan::fuzz
