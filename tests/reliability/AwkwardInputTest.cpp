// Awkward inputs: names with spaces, non-ASCII UTF-8 and the file system's longest length; a
// named pipe, a device or a folder given as a recording; two sulvan-convert runs writing into one
// folder at once.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>

#include "CTempDir.hpp"
#include "CommandLineRun.hpp"
#include "ConversionRuns.hpp"
#include "NcContent.hpp"
#include "ProcessRun.hpp"
#include "platform/Path.hpp"

namespace sulvan {
namespace {

using namespace test;
using records::Bytes;
namespace fs = std::filesystem;

// The row's file names with the stem "run" replaced.
std::string Renamed(const char* pName, const std::string& strStem) {
    return strStem + std::string(pName).substr(3);
}

// A stem of non-ASCII UTF-8 that makes the input name, with its extension, exactly nBytes long.
std::string LongestStem(std::size_t nBytes) {
    std::string strStem;
    while (strStem.size() + 2 + 4 <= nBytes) {
        strStem += "\xC3\xA9";  // é
    }
    return strStem + std::string(nBytes - 4 - strStem.size(), 'x');
}

// An output under an awkward name holds what the same output under "run" holds: a .nc the same
// content (it is not byte-stable) but for the global attributes that name its input, any other
// file the same bytes.
void ExpectSameOutput(const std::string& strPath, const std::string& strReference) {
#ifdef SULVAN_WITH_NETCDF
    if (strPath.ends_with(".nc")) {
        constexpr std::string_view kNamingTheInput[] = {"title", "summary", "id"};
        const std::optional<std::string> difference =
            FirstNcContentDifference(strPath, strReference, kNamingTheInput);
        EXPECT_FALSE(difference) << strPath << ": " << difference.value_or("");
        return;
    }
#endif
    const std::string strName(FileNameOf(strPath));
    EXPECT_EQ(WithoutRunTime(strName, ReadFileBytes(strPath)),
              WithoutRunTime(strName, ReadFileBytes(strReference)))
        << strName;
}

class AwkwardNames : public ::testing::TestWithParam<SConversionRun> {};

// Each name converts to outputs named alike, byte for byte what "run" gives; an output name the
// file system cannot hold (a longest input name with "_1.adv" or "_rep.trs" added) fails the
// file with that reason, and nothing else is written.
TEST_P(AwkwardNames, ConvertUnderTheirNamesOrFailSayingTheNameIsTooLong) {
    const SConversionRun& run = GetParam();
    const CTempDir dir;
    const Bytes input = run.synthesize(5, 0, dir.Path()).bytes;
    const std::string strReference = dir.Path("reference");
    fs::create_directory(strReference);
    WriteFileBytes(JoinPath(strReference, run.pInput), input);
    std::vector<std::string> args = CommandLineOf(run);
    args.push_back(JoinPath(strReference, run.pInput));
    ASSERT_EQ(RunCommandLine(args).nStatus, 0);

    const auto nNameMax = static_cast<std::size_t>(::pathconf(dir.Path().c_str(), _PC_NAME_MAX));
    for (const std::string& strStem :
         {std::string("run with spaces"),
          std::string("mesure \xC3\xA9t\xC3\xA9 \xE6\xB8\xAC\xE5\xAE\x9A"),
          LongestStem(nNameMax)}) {
        SCOPED_TRACE(strStem.size());
        const std::string strFolder = dir.Path("names");
        fs::remove_all(strFolder);
        fs::create_directory(strFolder);
        const std::string strInput = JoinPath(strFolder, Renamed(run.pInput, strStem));
        WriteFileBytes(strInput, input);
        args = CommandLineOf(run);
        args.push_back(strInput);
        const SCommandLineRun result = RunCommandLine(args);
        EXPECT_EQ(ReadFileBytes(strInput), input);
        const bool bFits = Renamed(run.pFirstOutput, strStem).size() <= nNameMax &&
                           Renamed(run.pDataOutput, strStem).size() <= nNameMax;
        if (!bFits) {
            EXPECT_EQ(result.nStatus, 1);
            EXPECT_EQ(result.fate["outcome"], "failed");
            EXPECT_NE(result.strErr.find(std::strerror(ENAMETOOLONG)), std::string::npos)
                << result.strErr;
            EXPECT_EQ(std::distance(fs::directory_iterator(strFolder), fs::directory_iterator()),
                      1);
            continue;
        }
        EXPECT_EQ(result.nStatus, 0) << result.strErr;
        for (const fs::directory_entry& entry : fs::directory_iterator(strReference)) {
            const std::string strName = Renamed(entry.path().filename().c_str(), strStem);
            ExpectSameOutput(JoinPath(strFolder, strName), entry.path().string());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Conversions, AwkwardNames, ::testing::ValuesIn(ConversionRuns()),
                         [](const auto& info) { return std::string(info.param.pName); });

// A named pipe without a writer, a device and a folder are refused at once, each by what it is.
TEST(AwkwardInput, APipeADeviceOrAFolderIsRefusedSayingWhatItIs) {
    const CTempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("pipe.trs").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.Path("zero.trs").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.Path("pipe.mrv").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.Path("zero.mrv").c_str()), 0);
    fs::create_directory(dir.Path("folder.trs"));
    struct SCase {
        const char* pInput;
        const char* pType;
        const char* pReason;
    };
    const SCase kCases[] = {
        {"pipe.trs", "trs-adv", "Is a named pipe, not a regular file"},
        {"pipe.trs", "wpr", "Is a named pipe, not a regular file"},
        {"pipe.mrv", "mrv-adv", "Is a named pipe, not a regular file"},
        {"zero.trs", "trs-adv", "Is a character device, not a regular file"},
        {"zero.mrv", "mrv-adv", "Is a character device, not a regular file"},
        {"folder.trs", "trs-adv", "Is a directory"},
    };
    // A conversion that waits for the pipe's writer is stopped, and fails the test.
    ::alarm(30);
    for (const SCase& c : kCases) {
        SCOPED_TRACE(c.pInput);
        const SCommandLineRun result =
            RunCommandLine({"-y", "-t", c.pType, "-d", dir.Path("out"), dir.Path(c.pInput)});
        EXPECT_EQ(result.nStatus, 1);
        EXPECT_EQ(result.fate["outcome"], "failed");
        EXPECT_NE(result.strErr.find(c.pReason), std::string::npos) << result.strErr;
        EXPECT_FALSE(fs::exists(dir.Path("out")));
    }
    ::alarm(0);
}

// Two runs at once, each with recordings of several kinds and burst files by the hundred, write
// into one folder what each writes alone.
TEST(AwkwardInput, TwoRunsWritingIntoOneFolderAtOnceWriteWhatEachWritesAlone) {
    const CTempDir dir;
    const SConversionRun& bursts = ConversionRunNamed("trs_adv_burst_files");
    std::vector<std::string> inputs[2];
    for (int nRun = 0; nRun < 2; ++nRun) {
        const std::string strFolder = dir.Path("in" + std::to_string(nRun));
        fs::create_directory(strFolder);
        for (std::uint64_t nFile = 0; nFile < 3; ++nFile) {
            const std::string strInput =
                JoinPath(strFolder, "run" + std::to_string(nRun) + std::to_string(nFile) + ".trs");
            WriteFileBytes(strInput, bursts.synthesize(nRun * 3 + nFile, 3000, dir.Path()).bytes);
            inputs[nRun].push_back(strInput);
        }
    }
    const auto convert = [&](int nRun, const std::string& strDestination) {
        std::vector<std::string> args = {"-y", "--burst-files", "-d", strDestination};
        args.insert(args.end(), inputs[nRun].begin(), inputs[nRun].end());
        return RunProcess(SULVAN_CONVERT_PROGRAM, args, dir.Path());
    };
    for (int nRun = 0; nRun < 2; ++nRun) {
        fs::create_directory(dir.Path("alone"));
        ASSERT_EQ(convert(nRun, dir.Path("alone")).nStatus, 0);
    }
    fs::create_directory(dir.Path("together"));
    std::future<SProcessResult> first =
        std::async(std::launch::async, convert, 0, dir.Path("together"));
    const SProcessResult second = convert(1, dir.Path("together"));
    EXPECT_EQ(first.get().nStatus, 0);
    EXPECT_EQ(second.nStatus, 0);
    std::size_t nFiles = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path("alone"))) {
        const std::string strName = entry.path().filename().string();
        EXPECT_EQ(ReadFileBytes(dir.Path("together/" + strName)),
                  ReadFileBytes(entry.path().string()))
            << strName;
        ++nFiles;
    }
    EXPECT_GT(nFiles, 600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("together")), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(nFiles));
}

}  // namespace
}  // namespace sulvan
