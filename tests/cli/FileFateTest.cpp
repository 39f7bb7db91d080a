// What sulvan-convert tells of each file, as a script reads it: the files written whole on
// standard output (or as JSON), one block on standard error for a file not converted, and the
// exit status; on recordings that sulvan-synth writes and on files that are no recording.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CTempDir.hpp"
#include "Golden.hpp"
#include "ProcessRun.hpp"

namespace sulvan {
namespace {

using namespace test;
using nlohmann::json;
using Args = std::vector<std::string>;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

const Args kBurstRecording = {"--kind", "tarsis-burst", "--samples", "12", "--burst-samples", "4"};
const Args kRawDump = {"--samples", "10", "--configuration", "missing"};
const std::vector<std::uint8_t> kKept = {'k', 'e', 'p', 't'};

struct SFateCase {
    const char* pName;
    Args synth;             // sulvan-synth arguments for run.trs; empty: pInput's bytes
    const char* pInput;     // the bytes of run.trs when synth is empty
    const char* pExisting;  // a file in the way, holding "kept"
    Args args;              // sulvan-convert's arguments before run.trs
    Names written;          // standard output
    int nStatus;
    const char* pBlock;                  // standard error's block for the file; empty: none
    const char* pOutcome;                // in the JSON
    const char* pInputName = "run.trs";  // the input, in place of run.trs
};

const SFateCase kCases[] = {
    {"garbage, No",
     {},
     "not a recording, only text",
     nullptr,
     {"-n"},
     {},
     1,
     "sulvan-convert: run.trs: no data records found\n  incomplete: WORK/run.adv\n",
     "failed"},
    // The repaired copy is written whole, the conversion after it finds nothing.
    {"garbage, Yes",
     {},
     "not a recording, only text",
     nullptr,
     {"-y"},
     {"run_rep.trs"},
     1,
     "sulvan-convert: run.trs: no data records found\n  incomplete: WORK/run.adv\n",
     "failed"},
    {"empty",
     {},
     "",
     nullptr,
     {"-y"},
     {},
     1,
     "sulvan-convert: run.trs: Invalid file type.\n",
     "failed"},
    {"kept",
     {"--samples", "10"},
     nullptr,
     "run.adv",
     {"-n"},
     {},
     0,
     "sulvan-convert: run.trs: run.adv exists, kept (answered No)\n",
     "declined"},
    {"kept burst files",
     kBurstRecording,
     nullptr,
     "run_1.adv",
     {"-n", "--burst-files"},
     {},
     0,
     "sulvan-convert: run.trs: run_1.adv exists, kept (answered No)\n",
     "declined"},
    {"burst files",
     kBurstRecording,
     nullptr,
     nullptr,
     {"--burst-files"},
     {"run_1.adv", "run_2.adv", "run_3.adv"},
     0,
     "",
     "converted"},
    {"raw dump, Yes",
     kRawDump,
     nullptr,
     nullptr,
     {"-y"},
     {"run_rep.trs", "run.adv"},
     0,
     "",
     "converted"},
    {"raw dump, No", kRawDump, nullptr, nullptr, {"-n"}, {"run.adv"}, 0, "", "converted"},
    {"old firmware, No",
     {"--samples", "10", "--firmware", "1.07"},
     nullptr,
     nullptr,
     {"-n"},
     {},
     0,
     "sulvan-convert: run.trs: burst headers missing, not repaired (answered No)\n",
     "declined"},
#ifdef SULVAN_WITH_NETCDF
    {"netCDF", {"--samples", "10"}, nullptr, nullptr, {"-t", "nc"}, {"run.nc"}, 0, "", "converted"},
    // A metadata file that is no JSON is refused before anything is written.
    {"netCDF, bad metadata",
     {"--samples", "10"},
     nullptr,
     "sulvan-metadata.json",
     {"-t", "nc"},
     {},
     1,
     "sulvan-convert: run.trs: WORK/sulvan-metadata.json: the metadata file is not valid JSON at "
     "line 1: syntax error while parsing value - invalid literal; last read: 'k'\n",
     "failed"},
    {"netCDF, Pelora",
     {"--kind", "pelora", "--samples", "40"},
     nullptr,
     nullptr,
     {"-t", "nc"},
     {"run.nc"},
     0,
     "",
     "converted",
     "run.pld"},
    {"netCDF, Corvane",
     {"--kind", "corvane", "--samples", "20"},
     nullptr,
     nullptr,
     {"-t", "nc"},
     {"run.nc"},
     0,
     "",
     "converted",
     "run.mrv"},
    {"netCDF, Corvane kept",
     {"--kind", "corvane", "--samples", "20"},
     nullptr,
     "run.nc",
     {"-n", "-t", "nc"},
     {},
     0,
     "sulvan-convert: run.mrv: run.nc exists, kept (answered No)\n",
     "declined",
     "run.mrv"},
#endif
};

// The lines of standard error that tell a file's fate: the block and the lines under it.
std::string BlockIn(const std::string& strErr) {
    std::istringstream lines(strErr);
    std::string strBlock;
    bool bInBlock = false;
    for (std::string strLine; std::getline(lines, strLine);) {
        bInBlock =
            strLine.starts_with("sulvan-convert: ") || (bInBlock && strLine.starts_with("  "));
        strBlock += bInBlock ? strLine + "\n" : "";
    }
    return strBlock;
}

std::string Replaced(std::string strText, const std::string& strFrom, const std::string& strTo) {
    for (std::size_t n = strText.find(strFrom); n != std::string::npos;
         n = strText.find(strFrom, n + strTo.size())) {
        strText.replace(n, strFrom.size(), strTo);
    }
    return strText;
}

class FileFate : public ::testing::TestWithParam<SFateCase> {
  protected:
    // Writes run.trs (and the file in the way) into a fresh folder and converts it; the input
    // must come through unchanged.
    SProcessResult Convert(const CTempDir& dir, bool bJson) const {
        const SFateCase& c = GetParam();
        if (c.synth.empty()) {
            const std::string strInput = c.pInput;
            WriteFileBytes(dir.Path(c.pInputName),
                           std::vector<std::uint8_t>(strInput.begin(), strInput.end()));
        } else {
            Args synth = c.synth;
            synth.push_back(dir.Path(c.pInputName));
            EXPECT_EQ(RunProcess(SULVAN_SYNTH_PROGRAM, synth, dir.Path()).nStatus, 0);
        }
        if (c.pExisting != nullptr) {
            WriteFileBytes(dir.Path(c.pExisting), kKept);
        }
        Args args = c.args;
        if (bJson) {
            args.push_back("--json");
        }
        args.push_back(c.pInputName);
        const std::vector<std::uint8_t> input = ReadFileBytes(dir.Path(c.pInputName));
        SProcessResult result = RunProcess(SULVAN_CONVERT_PROGRAM, args, dir.Path());
        EXPECT_EQ(ReadFileBytes(dir.Path(c.pInputName)), input);
        return result;
    }
};

TEST_P(FileFate, IsToldOnceAndTruly) {
    const SFateCase& c = GetParam();
    const CTempDir dir;
    const SProcessResult result = Convert(dir, false);
    std::string strWritten;
    for (const std::string& strName : c.written) {
        strWritten += strName + "\n";
        EXPECT_TRUE(fs::is_regular_file(dir.Path(strName))) << strName;
    }
    EXPECT_EQ(result.strOut, strWritten);
    EXPECT_EQ(result.nStatus, c.nStatus) << result.strErr;
    EXPECT_EQ(Replaced(BlockIn(result.strErr), dir.Path(), "WORK"), c.pBlock) << result.strErr;
    if (c.pExisting != nullptr) {
        EXPECT_EQ(ReadFileBytes(dir.Path(c.pExisting)), kKept);
    }
}

TEST_P(FileFate, IsOneJsonObjectThatSaysTheSame) {
    const SFateCase& c = GetParam();
    const CTempDir dir;
    const SProcessResult result = Convert(dir, true);
    EXPECT_EQ(result.nStatus, c.nStatus);
    ASSERT_EQ(std::count(result.strOut.begin(), result.strOut.end(), '\n'), 1) << result.strOut;
    const json fate = json::parse(result.strOut);
    EXPECT_EQ(fate["input"], c.pInputName);
    EXPECT_EQ(fate["outcome"], c.pOutcome);
    Names outputs;
    for (const json& output : fate["outputs"]) {
        const std::string strPath = output["path"];
        outputs.push_back(fs::path(strPath).filename().string());
        EXPECT_EQ(strPath, dir.Path(outputs.back()));
        // A repaired copy is the input byte for byte: it is not walked, so not counted.
        EXPECT_EQ(output["dataRecords"].is_null(), strPath.ends_with("_rep.trs"));
        EXPECT_TRUE(output["dataRecords"].is_null() || output["dataRecords"] > 0);
    }
    EXPECT_EQ(outputs, c.written);
    EXPECT_EQ(fate["messages"].empty(), std::string(c.pBlock).empty());
    if (fate["outcome"] == "declined" && c.pExisting != nullptr) {
        EXPECT_EQ(fate["kept"], dir.Path(c.pExisting));
    }
    for (const json& question : fate["questions"]) {
        EXPECT_EQ(question["answer"] == "yes" || question["answer"] == "ok", c.args[0] == "-y");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileFate, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string strName = info.param.pName;
    std::replace_if(
        strName.begin(), strName.end(), [](char ch) { return !std::isalnum(ch); }, '_');
    return strName;
});

}  // namespace
}  // namespace sulvan
