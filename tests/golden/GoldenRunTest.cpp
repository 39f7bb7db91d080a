// Runs sulvan-convert on each recording under tests/data/golden and compares everything it
// leaves behind with what the case expects, byte for byte. A case is a folder:
//   command   one run per line: the arguments, in a folder holding a copy of in/
//   in/       the recordings (unchanged by the runs: checked); an empty .keep makes a folder
//             that a run writes into
//   out/      every file the runs write, folders included
//   stdout, stderr, status   what the runs print, one after another, and each exit status
//   volatile  (optional) lines "FILE OFFSET LENGTH": bytes that hold the time of the run, such
//             as the start clock of a default user configuration and its checksum; not compared
// With SULVAN_UPDATE_GOLDEN=1 (make golden) out/ and the three texts are rewritten instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "CTempDir.hpp"
#include "Golden.hpp"
#include "ProcessRun.hpp"

namespace sulvan::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::vector<std::uint8_t>>;

const fs::path kCases = fs::path(TestDataPath("golden"));

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCases)) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every file below the folder by its relative path.
Files FilesBelow(const fs::path& folder) {
    Files files;
    if (!fs::exists(folder)) {
        return files;
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = ReadFileBytes(entry.path());
        }
    }
    return files;
}

std::string ReadText(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path.string());
    return {bytes.begin(), bytes.end()};
}

void WriteText(const fs::path& path, const std::string& strText) {
    WriteFileBytes(path.string(),
                   {reinterpret_cast<const std::uint8_t*>(strText.data()), strText.size()});
}

std::vector<std::vector<std::string>> Runs(const fs::path& caseFolder) {
    std::vector<std::vector<std::string>> runs;
    std::istringstream lines(ReadText(caseFolder / "command"));
    for (std::string strLine; std::getline(lines, strLine);) {
        std::istringstream words(strLine);
        runs.emplace_back(std::istream_iterator<std::string>(words),
                          std::istream_iterator<std::string>());
    }
    return runs;
}

// The messages name the work folder by its absolute path, which differs from run to run.
std::string WithWorkFolderNamed(std::string strText, const std::string& strWork) {
    for (std::size_t n = strText.find(strWork); n != std::string::npos;
         n = strText.find(strWork, n)) {
        strText.replace(n, strWork.size(), "WORK");
    }
    return strText;
}

// Copies the expected bytes of the case's volatile ranges into what was written.
void TakeVolatileBytes(const fs::path& caseFolder, const Files& expected, Files& written) {
    if (!fs::exists(caseFolder / "volatile")) {
        return;
    }
    std::istringstream lines(ReadText(caseFolder / "volatile"));
    std::string strName;
    std::size_t nOffset = 0, nLength = 0;
    while (lines >> strName >> nOffset >> nLength) {
        const auto itFrom = expected.find(strName);
        const auto itTo = written.find(strName);
        if (itFrom != expected.end() && itTo != written.end() &&
            nOffset + nLength <= std::min(itFrom->second.size(), itTo->second.size())) {
            std::copy_n(itFrom->second.begin() + static_cast<std::ptrdiff_t>(nOffset), nLength,
                        itTo->second.begin() + static_cast<std::ptrdiff_t>(nOffset));
        }
    }
}

class GoldenRun : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenRun, WritesAndPrintsWhatTheCaseExpects) {
    const fs::path caseFolder = kCases / GetParam();
    const CTempDir work;
    const Files inputs = FilesBelow(caseFolder / "in");
    for (const auto& [strName, bytes] : inputs) {
        fs::create_directories(fs::path(work.Path(strName)).parent_path());
        work.Write(strName, bytes);
    }
    std::string strOut, strErr, strStatus;
    for (const std::vector<std::string>& args : Runs(caseFolder)) {
        const SProcessResult result = RunProcess(SULVAN_CONVERT_PROGRAM, args, work.Path());
        strOut += WithWorkFolderNamed(result.strOut, work.Path());
        strErr += WithWorkFolderNamed(result.strErr, work.Path());
        strStatus += std::to_string(result.nStatus) + "\n";
    }
    Files written = FilesBelow(work.Path());
    for (const auto& [strName, bytes] : inputs) {
        EXPECT_EQ(written[strName], bytes) << "the run changed its input " << strName;
        written.erase(strName);
    }

    if (UpdatingGolden()) {
        fs::remove_all(caseFolder / "out");
        for (const auto& [strName, bytes] : written) {
            fs::create_directories((caseFolder / "out" / strName).parent_path());
            WriteFileBytes((caseFolder / "out" / strName).string(), bytes);
        }
        WriteText(caseFolder / "stdout", strOut);
        WriteText(caseFolder / "stderr", strErr);
        WriteText(caseFolder / "status", strStatus);
        return;
    }
    EXPECT_EQ(strStatus, ReadText(caseFolder / "status"));
    EXPECT_EQ(strOut, ReadText(caseFolder / "stdout"));
    EXPECT_EQ(strErr, ReadText(caseFolder / "stderr"));
    const Files expected = FilesBelow(caseFolder / "out");
    TakeVolatileBytes(caseFolder, expected, written);
    for (const auto& [strName, bytes] : expected) {
        const auto it = written.find(strName);
        if (it == written.end()) {
            ADD_FAILURE() << strName << " was not written";
        } else if (const auto difference = FirstDifference(it->second, bytes)) {
            ADD_FAILURE() << strName << ": " << *difference;
        }
    }
    for (const auto& [strName, bytes] : written) {
        EXPECT_TRUE(expected.contains(strName)) << strName << " was written unexpectedly";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenRun, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
    std::string strName = info.param;
    std::replace(strName.begin(), strName.end(), '-', '_');
    return strName;
});

}  // namespace
}  // namespace sulvan::test
