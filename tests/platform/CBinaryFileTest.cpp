#include "platform/CBinaryFile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "CTempDir.hpp"
#include "platform/FileError.hpp"
#include "platform/FileFaults.hpp"

namespace sulvan {
namespace {

using test::CTempDir;
using test::ReadFileBytes;
using Mode = CBinaryFile::EOpenMode;
using Origin = CBinaryFile::ESeekOrigin;

std::vector<std::uint8_t> CountingBytes(std::size_t nCount) {
    std::vector<std::uint8_t> bytes(nCount);
    for (std::size_t i = 0; i < nCount; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    return bytes;
}

class CBinaryFileTest : public ::testing::Test {
  protected:
    CTempDir m_dir;
};

TEST_F(CBinaryFileTest, SeeksInsideTheWindowWithoutSystemCalls) {
    const auto bytes = CountingBytes(2 * CBinaryFile::kWindowSize);
    CBinaryFile file;
    file.Open(m_dir.Write("data.bin", bytes), Mode::Read);

    std::uint8_t header[4];
    ASSERT_EQ(file.Read(header, 4), 4u);
    EXPECT_EQ(file.GetSystemCallCount(), 1u);
    for (std::uint64_t nPosition :
         {std::uint64_t{1}, std::uint64_t{0}, std::uint64_t{200000}, std::uint64_t{3},
          std::uint64_t{CBinaryFile::kWindowSize - 4}}) {
        file.Seek(static_cast<std::int64_t>(nPosition), Origin::Begin);
        ASSERT_EQ(file.Read(header, 4), 4u);
        EXPECT_EQ(header[0], bytes[nPosition]);
        EXPECT_EQ(header[3], bytes[nPosition + 3]);
    }
    EXPECT_EQ(file.GetSystemCallCount(), 1u);

    // Past the window the next read asks the OS once, for a window starting there.
    file.Seek(static_cast<std::int64_t>(CBinaryFile::kWindowSize + 10), Origin::Begin);
    ASSERT_EQ(file.Read(header, 4), 4u);
    EXPECT_EQ(header[0], bytes[CBinaryFile::kWindowSize + 10]);
    EXPECT_EQ(file.GetSystemCallCount(), 2u);
}

TEST_F(CBinaryFileTest, ReadsAcrossTheWindowEdgeAndSeeksBackIntoIt) {
    const auto bytes = CountingBytes(CBinaryFile::kWindowSize + 100);
    CBinaryFile file;
    file.Open(m_dir.Write("data.bin", bytes), Mode::Read);
    const std::uint64_t nStart = CBinaryFile::kWindowSize - 10;
    file.Seek(static_cast<std::int64_t>(nStart), Origin::Begin);
    std::uint8_t piece[24];
    ASSERT_EQ(file.Read(piece, sizeof piece), sizeof piece);
    EXPECT_TRUE(std::equal(piece, piece + sizeof piece, bytes.begin() + nStart));
    file.Seek(-23, Origin::Current);
    ASSERT_EQ(file.Read(piece, 4), 4u);
    EXPECT_EQ(piece[0], bytes[nStart + 1]);
}

TEST_F(CBinaryFileTest, ReachesOffsetsBeyondFourGibibytes) {
    constexpr std::uint64_t kLength = 5ull << 30;
    constexpr std::uint64_t kMarkerAt = (9ull << 29) + 3;  // 4.5 GiB + 3
    const std::string strPath = m_dir.Path("large.bin");
    {
        const int descriptor = ::open(strPath.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(descriptor, 0);
        ASSERT_EQ(::ftruncate(descriptor, static_cast<off_t>(kLength)), 0);
        const std::uint8_t marker[] = {0xA5, 0x11, 0x0E, 0x00};
        ASSERT_EQ(::pwrite(descriptor, marker, 4, static_cast<off_t>(kMarkerAt)), 4);
        ::close(descriptor);
    }
    CBinaryFile file;
    file.Open(strPath, Mode::Read);
    EXPECT_EQ(file.GetLength(), kLength);
    EXPECT_EQ(file.Seek(static_cast<std::int64_t>(kMarkerAt), Origin::Begin), kMarkerAt);
    std::uint8_t marker[4] = {};
    ASSERT_EQ(file.Read(marker, 4), 4u);
    EXPECT_EQ(marker[0], 0xA5);
    EXPECT_EQ(marker[1], 0x11);
    EXPECT_EQ(file.Seek(-4, Origin::End), kLength - 4);
}

TEST_F(CBinaryFileTest, ReportsAFailedFlushOnClose) {
    if (!CBinaryFile::Exists("/dev/full")) {
        GTEST_SKIP() << "/dev/full is not available";
    }
    CBinaryFile file;
    file.Open("/dev/full", Mode::Create);
    const auto bytes = CountingBytes(100);
    file.Write(bytes.data(), bytes.size());
    try {
        file.Close();
        FAIL() << "Close() did not report the failed write";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Cause(), EFileCause::DiskFull);
        EXPECT_EQ(error.Description(), "No space left on device");
    }
    EXPECT_FALSE(file.IsOpen());
}

// A disk that takes nothing of a write is an error, not a write asked again for ever.
TEST_F(CBinaryFileTest, AWriteTheOsTakesNothingOfFails) {
    const std::string strPath = m_dir.Path("stuck.adv");
    const CFileFaults faults({{strPath, SFileFault::EKind::ShortWrites, 0, 0, 0}});
    CBinaryFile file;
    file.Open(strPath, Mode::Create);
    const auto bytes = CountingBytes(100);
    file.Write(bytes.data(), bytes.size());
    try {
        file.Close();
        FAIL() << "Close() did not report the write that took nothing";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Cause(), EFileCause::HardIo);
    }
}

TEST_F(CBinaryFileTest, ReportsWhyAFileCannotBeOpened) {
    CBinaryFile file;
    const std::string strMissing = m_dir.Path("missing.trs");
    try {
        file.Open(strMissing, Mode::Read);
        FAIL() << "opened a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Cause(), EFileCause::NotFound);
        EXPECT_EQ(error.Path(), strMissing);
        EXPECT_EQ(std::string(error.what()), strMissing + ": No such file or directory");
    }
    EXPECT_THROW(file.Open(m_dir.Path(""), Mode::Read), FileError);
    EXPECT_THROW(file.Open(m_dir.Path("no/such/folder/out.adv"), Mode::Create), FileError);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(CBinaryFileTest, ReadsBackWhatWasWrittenInPiecesOfEverySize) {
    const auto bytes = CountingBytes(3 * CBinaryFile::kWindowSize + 123);
    const std::string strPath = m_dir.Path("data.bin");
    {
        CBinaryFile file;
        file.Open(strPath, Mode::Create);
        // Small pieces, a piece larger than the window, then small pieces again.
        std::size_t nDone = 0;
        for (std::size_t nPiece : {std::size_t{1}, std::size_t{28}, std::size_t{4095},
                                   CBinaryFile::kWindowSize + 17, std::size_t{24}}) {
            file.Write(bytes.data() + nDone, nPiece);
            nDone += nPiece;
        }
        file.Write(bytes.data() + nDone, bytes.size() - nDone);
        EXPECT_EQ(file.GetPosition(), bytes.size());
        EXPECT_EQ(file.GetLength(), bytes.size());
        file.Close();
    }
    EXPECT_EQ(ReadFileBytes(strPath), bytes);

    CBinaryFile file;
    file.Open(strPath, Mode::Read);
    std::vector<std::uint8_t> back(bytes.size());
    std::size_t nDone = 0;
    for (std::size_t nPiece :
         {std::size_t{4}, std::size_t{20}, CBinaryFile::kWindowSize * 2, std::size_t{1}}) {
        ASSERT_EQ(file.Read(back.data() + nDone, nPiece), nPiece);
        nDone += nPiece;
    }
    EXPECT_EQ(file.Read(back.data() + nDone, back.size()), bytes.size() - nDone);
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(file.Read(back.data(), 1), 0u);
}

TEST_F(CBinaryFileTest, PeekLooksAheadWithoutMovingAndStopsAtTheEnd) {
    const auto bytes = CountingBytes(100);
    CBinaryFile file;
    file.Open(m_dir.Write("data.bin", bytes), Mode::Read);
    file.Seek(90, Origin::Begin);
    const auto ahead = file.Peek(4);
    ASSERT_EQ(ahead.size(), 4u);
    EXPECT_EQ(ahead[0], bytes[90]);
    EXPECT_EQ(file.GetPosition(), 90u);
    EXPECT_EQ(file.Peek(50).size(), 10u);
    file.Seek(0, Origin::End);
    EXPECT_TRUE(file.Peek(4).empty());
}

TEST_F(CBinaryFileTest, SeekWhileWritingPlacesLaterBytes) {
    const std::string strPath = m_dir.Path("out.bin");
    CBinaryFile file;
    file.Open(strPath, Mode::Create);
    const std::uint8_t first[] = {1, 2, 3, 4, 5, 6};
    const std::uint8_t patch[] = {9, 9};
    file.Write(first, sizeof first);
    file.Seek(2, Origin::Begin);
    file.Write(patch, sizeof patch);
    EXPECT_EQ(file.GetPosition(), 4u);
    EXPECT_EQ(file.GetLength(), 6u);
    file.Close();
    EXPECT_EQ(ReadFileBytes(strPath), (std::vector<std::uint8_t>{1, 2, 9, 9, 5, 6}));
}

}  // namespace
}  // namespace sulvan
