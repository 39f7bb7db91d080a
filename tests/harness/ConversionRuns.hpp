#pragma once
// Every conversion and repair as one row, run on a file the way sulvan-convert runs it. The
// damaged-input, failing-disk and large-input tests and the fuzz targets all iterate over these
// rows, so a new conversion joins every one of them with a row here.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "RecordBuilder.hpp"
#include "app/ConversionTable.hpp"
#include "platform/CUserInterface.hpp"

namespace sulvan::test {

// A synthetic recording as sulvan-synth's generators write it.
struct SSyntheticRecording {
    records::Bytes bytes;
    // Where the data begin: after the configuration records the recording has, or after the
    // header of a Corvane recording.
    std::size_t nDataStart = 0;
};

struct SConversionRun {
    const char* pName;   // names the test cases and the fuzz target
    const char* pInput;  // the input's file name
    EConversion conversion;
    bool bBurstFiles;
    // Every question is answered so: the repairs are taken with Yes (OK).
    bool bYes;
    // The file the run writes first, and the one that holds its data records.
    const char* pFirstOutput;
    const char* pDataOutput;
    // Record framing (sync bytes and checksums) lets a walk slide over garbage and find the next
    // intact record; Corvane chunks have neither, so only cuts and skipped chunks are damage
    // they recover from.
    bool bFramedRecords;
    // A recording of the kind the row converts, written in strFolder; nSeed varies its options
    // and its values. It holds about nSamples samples (per probe), or with 0 a few dozen.
    SSyntheticRecording (*synthesize)(std::uint64_t nSeed, std::uint64_t nSamples,
                                      const std::string& strFolder);
};

std::span<const SConversionRun> ConversionRuns();
// Whether the row writes its outputs through CBinaryFile, where the file layer's seam
// (CFileFaults) can make the writes fail. The netCDF library writes through its own I/O; only
// its create, which the file layer makes first, and the reads of the input meet the seam.
inline bool WritesThroughFileLayer(const SConversionRun& run) {
    return run.conversion != EConversion::ToNc;
}
// Names a row in the reports of GoogleTest.
inline void PrintTo(const SConversionRun& run, std::ostream* pOut) {
    *pOut << run.pName;
}
// The row of that name; throws std::out_of_range when there is none.
const SConversionRun& ConversionRunNamed(std::string_view strName);

// Converts strInput into strFolder with the per-file operation of the row's conversion.
SFileOutcome RunConversion(const SConversionRun& run, CUserInterface& ui,
                           const std::string& strInput, const std::string& strFolder);

// sulvan-convert's options for the row, without the input.
std::vector<std::string> CommandLineOf(const SConversionRun& run);

// The bytes of a file a run wrote, less what tells when it ran: a repaired dump's copy holds the
// time of the run as the start clock of its default user record (and in that record's checksum).
records::Bytes WithoutRunTime(const std::string& strName, records::Bytes bytes);

// Answers every question alike and shows nothing.
class CAnsweringUserInterface : public CUserInterface {
  public:
    explicit CAnsweringUserInterface(bool bYes) : m_bYes(bYes) {}

    void ShowMessage(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return m_bYes; }
    bool AskYesNo(const std::string&) override { return m_bYes; }
    void BeginWait() override {}
    void EndWait() override {}
    void SetProgress(int) override {}

  private:
    bool m_bYes;
};

}  // namespace sulvan::test
