// Every conversion and repair on a disk that fails: full at a chosen offset (a short write, then
// "no space left"), a read that fails on a bad block, a create refused, and writes the OS takes
// a little at a time. Each failure gives one message naming the file and the reason, the outcome
// failed, what was written kept and listed as incomplete, exit status 1, and an input that is
// byte for byte what it was. The faults are made with the file layer's seam; one test fills a
// real file system and one writes into a read-only one, where this machine lets them be mounted.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "CTempDir.hpp"
#include "CommandLineRun.hpp"
#include "ConversionRuns.hpp"
#include "platform/FileFaults.hpp"
#include "platform/Path.hpp"

namespace sulvan {
namespace {

using namespace test;
using records::Bytes;
namespace fs = std::filesystem;

enum class EFaultyFile { FirstOutput, DataOutput, Input };

struct SFault {
    const char* pName;
    SFileFault::EKind kind;
    int nOsError;
    EFaultyFile file;
};

const SFault kFaults[] = {
    {"DiskFullInTheFirstOutput", SFileFault::EKind::FailWritesFrom, ENOSPC,
     EFaultyFile::FirstOutput},
    {"DiskFullInTheDataOutput", SFileFault::EKind::FailWritesFrom, ENOSPC, EFaultyFile::DataOutput},
    {"CreateOfTheFirstOutputRefused", SFileFault::EKind::RefuseOpen, EROFS,
     EFaultyFile::FirstOutput},
    {"CreateOfTheDataOutputRefused", SFileFault::EKind::RefuseOpen, EACCES,
     EFaultyFile::DataOutput},
    {"BadBlockInTheInput", SFileFault::EKind::FailReads, EIO, EFaultyFile::Input},
};

struct SFaultCase {
    const SConversionRun* pRun;
    const SFault* pFault;
};

// Every fault for every row; a fault of the data output only where it is not the first output,
// and a failing write only where the row writes through the file layer.
std::vector<SFaultCase> FaultCases() {
    std::vector<SFaultCase> cases;
    for (const SConversionRun& run : ConversionRuns()) {
        for (const SFault& fault : kFaults) {
            const bool bReached =
                WritesThroughFileLayer(run) || fault.kind != SFileFault::EKind::FailWritesFrom;
            if (bReached && (fault.file != EFaultyFile::DataOutput ||
                             std::string_view(run.pFirstOutput) != run.pDataOutput)) {
                cases.push_back({&run, &fault});
            }
        }
    }
    return cases;
}

std::vector<SConversionRun> RowsWritingThroughTheFileLayer() {
    std::vector<SConversionRun> rows;
    std::copy_if(ConversionRuns().begin(), ConversionRuns().end(), std::back_inserter(rows),
                 WritesThroughFileLayer);
    return rows;
}

std::size_t Occurrences(const std::string& strText, const std::string& strPart) {
    std::size_t nCount = 0;
    for (std::size_t n = strText.find(strPart); n != std::string::npos;
         n = strText.find(strPart, n + 1)) {
        ++nCount;
    }
    return nCount;
}

// A read of a bad block must meet the conversion's walk, not the reader's first look at the
// file's head and tail: the recording is larger than both and the block lies between them.
constexpr std::uint64_t kSamplesAroundABadBlock = 30000;
constexpr std::uint64_t kBadBlockSize = 512;

class FailingFileSystem : public ::testing::Test {
  protected:
    // Converts the row's recording in the folder named, as sulvan-convert does.
    SCommandLineRun Convert(const SConversionRun& run, const std::string& strFolder) const {
        std::vector<std::string> args = CommandLineOf(run);
        args.push_back(JoinPath(strFolder, run.pInput));
        return RunCommandLine(args);
    }

    // Writes the recording into a fresh folder of that name and returns the folder.
    std::string WriteInput(const SConversionRun& run, const Bytes& input,
                           const std::string& strName) const {
        const std::string strFolder = m_dir.Path(strName);
        fs::create_directory(strFolder);
        WriteFileBytes(JoinPath(strFolder, run.pInput), input);
        return strFolder;
    }

    // The checks every failed file shares: exit status 1, the outcome failed with one reason
    // that holds the OS's words and the faulty file's name, the incomplete files listed and
    // kept, and the input untouched.
    static void ExpectFailed(const SCommandLineRun& result, const std::string& strFaulty,
                             int nOsError, const std::vector<std::string>& incomplete,
                             const std::string& strInput, const Bytes& input) {
        EXPECT_EQ(result.nStatus, 1);
        EXPECT_EQ(result.fate["outcome"], "failed");
        ASSERT_EQ(result.fate["messages"].size(), 1u) << result.fate.dump();
        const std::string strReason = result.fate["messages"][0];
        EXPECT_NE(strReason.find(std::strerror(nOsError)), std::string::npos) << strReason;
        EXPECT_EQ(Occurrences(result.strErr, "sulvan-convert: "), 1u)
            << "one block: " << result.strErr;
        EXPECT_NE(result.strErr.find(std::string(FileNameOf(strFaulty))), std::string::npos)
            << result.strErr;
        EXPECT_EQ(result.fate["incomplete"], nlohmann::json(incomplete));
        for (const std::string& strPath : incomplete) {
            EXPECT_TRUE(fs::is_regular_file(strPath)) << strPath << " is kept";
            EXPECT_NE(result.strErr.find("incomplete: " + strPath), std::string::npos);
        }
        EXPECT_EQ(ReadFileBytes(strInput), input) << "the input is not changed";
    }

    CTempDir m_dir = CTempDir::InMemory();
};

class FaultInjection : public FailingFileSystem,
                       public ::testing::WithParamInterface<SFaultCase> {};

TEST_P(FaultInjection, FailsTheFileAndKeepsWhatWasWritten) {
    const SConversionRun& run = *GetParam().pRun;
    const SFault& fault = *GetParam().pFault;
    const bool bRead = fault.file == EFaultyFile::Input;
    const Bytes input = run.synthesize(3, bRead ? kSamplesAroundABadBlock : 0, m_dir.Path()).bytes;
    // The conversion without faults tells the size of what the faulty one writes.
    const std::string strReference = WriteInput(run, input, "reference");
    ASSERT_EQ(Convert(run, strReference).nStatus, 0);

    const std::string strFolder = WriteInput(run, input, "faulty");
    const std::string strInput = JoinPath(strFolder, run.pInput);
    const std::string strOutput = JoinPath(
        strFolder, fault.file == EFaultyFile::DataOutput ? run.pDataOutput : run.pFirstOutput);
    const Bytes reference =
        bRead ? Bytes() : ReadFileBytes(JoinPath(strReference, FileNameOf(strOutput)));
    SFileFault injected{bRead ? strInput : strOutput, fault.kind, fault.nOsError,
                        bRead ? input.size() / 2 : reference.size() / 2, kBadBlockSize};
    SCommandLineRun result;
    {
        const CFileFaults faults({injected});
        result = Convert(run, strFolder);
    }
    std::vector<std::string> incomplete;
    if (fault.kind == SFileFault::EKind::FailWritesFrom) {
        incomplete.push_back(strOutput);
        const Bytes written = ReadFileBytes(strOutput);
        ASSERT_EQ(written.size(), injected.nOffset) << "the bytes before the full disk are kept";
        EXPECT_TRUE(std::equal(written.begin(), written.end(), reference.begin()));
    } else if (bRead) {
        // The file being written when the read failed (a repair's copy, a burst file).
        for (const std::string strPath : result.fate["incomplete"]) {
            incomplete.push_back(strPath);
        }
        EXPECT_EQ(incomplete.size(), 1u);
    }
    ExpectFailed(result, bRead ? strInput : strOutput, fault.nOsError, incomplete, strInput, input);
    // The files written whole before the failure (a dump's repaired copy, burst files) are
    // listed as written, and are whole.
    for (const nlohmann::json& output : result.fate["outputs"]) {
        const std::string strPath = output["path"];
        EXPECT_EQ(
            WithoutRunTime(strPath, ReadFileBytes(strPath)),
            WithoutRunTime(strPath, ReadFileBytes(JoinPath(strReference, FileNameOf(strPath)))));
    }
}

class ShortWrites : public FailingFileSystem,
                    public ::testing::WithParamInterface<SConversionRun> {};

// Writes that the OS takes a hundred bytes at a time are finished by asking again: every file
// comes out whole.
TEST_P(ShortWrites, AreFinishedAndEveryFileComesOutWhole) {
    const SConversionRun& run = GetParam();
    const Bytes input = run.synthesize(3, 0, m_dir.Path()).bytes;
    const std::string strReference = WriteInput(run, input, "reference");
    ASSERT_EQ(Convert(run, strReference).nStatus, 0);
    const std::string strFolder = WriteInput(run, input, "short");
    std::vector<SFileFault> faults;
    for (const char* pOutput : {run.pFirstOutput, run.pDataOutput}) {
        faults.push_back({JoinPath(strFolder, pOutput), SFileFault::EKind::ShortWrites, 0, 100, 0});
    }
    SCommandLineRun result;
    {
        const CFileFaults shortWrites(faults);
        result = Convert(run, strFolder);
    }
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    for (const fs::directory_entry& entry : fs::directory_iterator(strReference)) {
        const std::string strName = entry.path().filename().string();
        EXPECT_EQ(WithoutRunTime(strName, ReadFileBytes(JoinPath(strFolder, strName))),
                  WithoutRunTime(strName, ReadFileBytes(entry.path().string())))
            << strName;
    }
}

INSTANTIATE_TEST_SUITE_P(Conversions, ShortWrites,
                         ::testing::ValuesIn(RowsWritingThroughTheFileLayer()),
                         [](const auto& info) { return std::string(info.param.pName); });

INSTANTIATE_TEST_SUITE_P(Conversions, FaultInjection, ::testing::ValuesIn(FaultCases()),
                         [](const auto& info) {
                             return std::string(info.param.pRun->pName) + "_" +
                                    info.param.pFault->pName;
                         });

// A small tmpfs this test mounts over a folder of its own, where the machine lets it (root, or
// the capability to mount); unmounted when the test ends.
class CScratchMount {
  public:
    CScratchMount(const std::string& strFolder, std::uint64_t nBytes) : m_strFolder(strFolder) {
        fs::create_directory(strFolder);
        const std::string strOptions = "size=" + std::to_string(nBytes) + ",mode=0755";
        m_bMounted = ::mount("tmpfs", strFolder.c_str(), "tmpfs", 0, strOptions.c_str()) == 0;
        m_strError = m_bMounted ? "" : std::strerror(errno);
    }
    ~CScratchMount() {
        if (m_bMounted) {
            ::umount2(m_strFolder.c_str(), MNT_DETACH);
        }
    }
    CScratchMount(const CScratchMount&) = delete;
    CScratchMount& operator=(const CScratchMount&) = delete;

    bool IsMounted() const { return m_bMounted; }
    const std::string& Error() const { return m_strError; }
    bool MakeReadOnly() const {
        return ::mount("tmpfs", m_strFolder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    std::string m_strFolder;
    bool m_bMounted = false;
    std::string m_strError;
};

class RealFileSystem : public FailingFileSystem,
                       public ::testing::WithParamInterface<SConversionRun> {};

// The input and its outputs on a file system that fills up: the input takes its pages, and
// one page is left for the outputs, which need more, or none at all.
TEST_P(RealFileSystem, AFullDiskFailsTheFileAndKeepsWhatFitted) {
    const SConversionRun& run = GetParam();
    const Bytes input = run.synthesize(3, 2000, m_dir.Path()).bytes;
    const std::string strReference = WriteInput(run, input, "reference");
    ASSERT_EQ(Convert(run, strReference).nStatus, 0);
    constexpr std::uint64_t kPage = 4096;
    for (const std::uint64_t nSpare : {kPage, std::uint64_t{0}}) {
        SCOPED_TRACE("spare bytes: " + std::to_string(nSpare));
        const std::uint64_t nRoom = (input.size() + kPage - 1) / kPage * kPage + nSpare;
        const CScratchMount disk(m_dir.Path("full"), nRoom);
        if (!disk.IsMounted()) {
            GTEST_SKIP() << "no tmpfs can be mounted here to fill (" << disk.Error()
                         << "); the seam's disk-full cases stand in";
        }
        const std::string strInput = JoinPath(m_dir.Path("full"), run.pInput);
        WriteFileBytes(strInput, input);
        const SCommandLineRun result = Convert(run, m_dir.Path("full"));
        // The file the disk filled in: the first output, or a later burst file.
        ASSERT_EQ(result.fate["incomplete"].size(), 1u) << result.strErr;
        const std::string strOutput = result.fate["incomplete"][0];
        ExpectFailed(result, strOutput, ENOSPC, {strOutput}, strInput, input);
        const Bytes written = ReadFileBytes(strOutput);
        const Bytes reference = ReadFileBytes(JoinPath(strReference, FileNameOf(strOutput)));
        EXPECT_LT(written.size(), reference.size());
        // The netCDF library places its objects where it likes: what fitted is no prefix.
        if (WritesThroughFileLayer(run)) {
            EXPECT_TRUE(std::equal(written.begin(), written.end(), reference.begin()));
        }
    }
}

// A read-only file system refuses every output; the input on it is read all the same.
TEST_P(RealFileSystem, AReadOnlyFolderRefusesTheOutputs) {
    const SConversionRun& run = GetParam();
    const Bytes input = run.synthesize(3, 0, m_dir.Path()).bytes;
    const CScratchMount disk(m_dir.Path("readonly"), 1 << 20);
    const std::string strInput = JoinPath(m_dir.Path("readonly"), run.pInput);
    if (disk.IsMounted()) {
        WriteFileBytes(strInput, input);
        ASSERT_TRUE(disk.MakeReadOnly()) << std::strerror(errno);
    } else if (::geteuid() != 0) {
        WriteFileBytes(strInput, input);
        fs::permissions(m_dir.Path("readonly"), fs::perms::owner_read | fs::perms::owner_exec);
    } else {
        GTEST_SKIP() << "root ignores folder permissions and no tmpfs can be mounted here ("
                     << disk.Error() << "); the seam's refused creates stand in";
    }
    const SCommandLineRun result = Convert(run, m_dir.Path("readonly"));
    const std::string strOutput = JoinPath(m_dir.Path("readonly"), run.pFirstOutput);
    ExpectFailed(result, strOutput, disk.IsMounted() ? EROFS : EACCES, {}, strInput, input);
    std::error_code ignored;  // read-only when mounted, and then unmounted at once
    fs::permissions(m_dir.Path("readonly"), fs::perms::owner_all, ignored);
}

INSTANTIATE_TEST_SUITE_P(Conversions, RealFileSystem, ::testing::ValuesIn(ConversionRuns()),
                         [](const auto& info) { return std::string(info.param.pName); });

}  // namespace
}  // namespace sulvan
