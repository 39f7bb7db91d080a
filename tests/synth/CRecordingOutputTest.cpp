#include "CRecordingOutput.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "CTempDir.hpp"
#include "RecordBuilder.hpp"

namespace sulvan::synth {
namespace {

using test::Bytes;

class CRecordingOutputTest : public ::testing::Test {
  protected:
    // Appends the pieces through an output that cuts nCut bytes; returns the file's bytes.
    Bytes WriteThrough(const std::vector<Bytes>& pieces, std::size_t nCut) {
        CBinaryFile file;
        file.Open(m_dir.Path("out.trs"), CBinaryFile::EOpenMode::Create);
        CRecordingOutput output(file, nCut);
        std::uint64_t nProduced = 0;
        for (const Bytes& piece : pieces) {
            output.Append(piece);
            nProduced += piece.size();
            EXPECT_EQ(output.Produced(), nProduced);
        }
        m_nWritten = output.Finish();
        file.Close();
        return test::ReadFileBytes(m_dir.Path("out.trs"));
    }

    test::CTempDir m_dir;
    std::uint64_t m_nWritten = 0;
};

// Pieces of distinct bytes whose total crosses the chunk size a few times.
std::vector<Bytes> NumberedPieces(std::size_t nPieces, std::size_t nPieceSize, Bytes& all) {
    std::vector<Bytes> pieces;
    for (std::size_t i = 0; i < nPieces; ++i) {
        Bytes piece(nPieceSize);
        for (std::size_t j = 0; j < nPieceSize; ++j) {
            piece[j] = static_cast<std::uint8_t>((i * 7 + j) % 251);
        }
        all.insert(all.end(), piece.begin(), piece.end());
        pieces.push_back(piece);
    }
    return pieces;
}

TEST_F(CRecordingOutputTest, WritesEverythingButTheCutTailAcrossChunks) {
    Bytes all;
    const std::vector<Bytes> pieces = NumberedPieces(3200, 1000, all);
    ASSERT_GT(all.size(), 3 * CRecordingOutput::kChunkSize);
    for (const std::size_t nCut : {std::size_t{0}, std::size_t{1}, std::size_t{999},
                                   std::size_t{1000}, std::size_t{1500000}}) {
        const Bytes written = WriteThrough(pieces, nCut);
        ASSERT_EQ(written.size(), all.size() - nCut) << "cut " << nCut;
        EXPECT_EQ(m_nWritten, written.size());
        EXPECT_TRUE(std::equal(written.begin(), written.end(), all.begin())) << "cut " << nCut;
    }
}

TEST_F(CRecordingOutputTest, CuttingMoreThanTheRecordingLeavesAnEmptyFile) {
    Bytes all;
    const std::vector<Bytes> pieces = NumberedPieces(3, 40, all);
    EXPECT_TRUE(WriteThrough(pieces, 121).empty());
    EXPECT_EQ(m_nWritten, 0u);
    EXPECT_EQ(WriteThrough(pieces, 120).size(), 0u);
    EXPECT_EQ(WriteThrough(pieces, 119), Bytes{all.front()});
}

}  // namespace
}  // namespace sulvan::synth
