#include "format/CRecordWalk.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "CTempDir.hpp"
#include "RecordBuilder.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

struct SSeen {
    std::uint8_t nId;
    std::uint64_t nOffset;
    std::size_t nSize;
    bool operator==(const SSeen&) const = default;
};

class CRecordWalkTest : public ::testing::Test {
  protected:
    // Walks a file holding the image from its start and lists what the walk handed out.
    std::vector<SSeen> Walk(const Bytes& image, SWalkOptions options = {}) {
        CBinaryFile file;
        file.Open(m_dir.Write("walk.trs", image), CBinaryFile::EOpenMode::Read);
        m_spans.clear();
        options.fnSkippedSpan = [this](const SDamageSpan& span) { m_spans.push_back(span); };
        CRecordWalk walk(file, m_geometry, options);
        std::vector<SSeen> seen;
        SRecordView record;
        while (walk.Next(record)) {
            EXPECT_EQ(walk.Position(), record.nOffset + record.Size());
            seen.push_back({record.Id(), record.nOffset, record.Size()});
        }
        EXPECT_FALSE(walk.Next(record)) << "a finished walk stays finished";
        EXPECT_EQ(file.GetPosition(), walk.Position());
        m_damage = walk.Damage();
        EXPECT_EQ(m_spans.size(), m_damage.nSkippedSpans);
        return seen;
    }

    CTempDir m_dir;
    SRecordGeometry m_geometry;
    SDamageReport m_damage;
    std::vector<SDamageSpan> m_spans;
};

TEST_F(CRecordWalkTest, HandsOutIntactRecordsInOrderAndSkipsConfiguration) {
    const Bytes image = CRecordingBuilder()
                            .Add(StandardConfiguration())
                            .Add(SystemSample())
                            .Add(VelocitySample())
                            .Add(HardwareConfig())  // configuration met among the data
                            .Add(VelocityHeader(MakeClock(2008, 1, 1, 0, 0, 0), 4))
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(
        Walk(image),
        (std::vector<SSeen>{{0x11, 784, 28}, {0x10, 812, 24}, {0x12, 884, 42}, {0x10, 926, 24}}));
    EXPECT_TRUE(m_damage.IsClean());
}

TEST_F(CRecordWalkTest, SlidesOneByteAfterABadChecksumAndFindsTheNextRecord) {
    const Bytes image = CRecordingBuilder()
                            .Add(VelocitySample())
                            .Add(VelocitySample().CorruptChecksum())
                            .Add(SystemSample())
                            .Image();
    EXPECT_EQ(Walk(image), (std::vector<SSeen>{{0x10, 0, 24}, {0x11, 48, 28}}));
    EXPECT_EQ(m_damage.nChecksumErrors, 1u);
    EXPECT_EQ(m_damage.nSkippedBytes, 24u);
    EXPECT_EQ(m_spans, (std::vector<SDamageSpan>{{24, 24}}));
}

TEST_F(CRecordWalkTest, CountsGarbageAndBogusHeadersAsOneSpan) {
    const Bytes image = CRecordingBuilder()
                            .Add(VelocitySample())
                            .Garbage(5)
                            .Add(Bytes{0xA5, 0xFF, 0x02, 0x00})  // a sync byte, a rejected id
                            .Garbage(3)
                            .Add(SystemSample())
                            .Add(Bytes{0x00, 0xA5})  // a lone sync byte right before a record
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(Walk(image), (std::vector<SSeen>{{0x10, 0, 24}, {0x11, 36, 28}, {0x10, 66, 24}}));
    EXPECT_EQ(m_damage.nSkippedBytes, 14u);
    EXPECT_EQ(m_spans, (std::vector<SDamageSpan>{{24, 12}, {64, 2}}));
    EXPECT_EQ(m_damage.nLargestSpan, 12u);
    EXPECT_EQ(m_damage.nChecksumErrors, 0u);
}

TEST_F(CRecordWalkTest, AConfigurationRecordAmidDamageEndsOneSpanAndTheNextStartsAfterIt) {
    const Bytes image = CRecordingBuilder()
                            .Garbage(7)
                            .Add(HardwareConfig())
                            .Garbage(4)
                            .Add(VelocitySample())
                            .Image();
    EXPECT_EQ(Walk(image), (std::vector<SSeen>{{0x10, 59, 24}}));
    EXPECT_EQ(m_spans, (std::vector<SDamageSpan>{{0, 7}, {55, 4}}));
}

TEST_F(CRecordWalkTest, EndsAtARecordCutShortByTheEndOfTheFile) {
    const Bytes image =
        CRecordingBuilder().Add(VelocitySample()).Add(SystemSample()).TruncateBy(3).Image();
    EXPECT_EQ(Walk(image), (std::vector<SSeen>{{0x10, 0, 24}}));
    EXPECT_EQ(m_spans, (std::vector<SDamageSpan>{{24, 25}}));
}

// A header made of damaged bytes may announce any size: the records after it must not be lost,
// neither to a walk that ends where the announced record would run past the end of the file nor
// to one that passes the announced record over unread.
TEST_F(CRecordWalkTest, ADamagedHeaderHidesNoIntactRecordBehindIt) {
    const Bytes kTimeMarkPastTheEnd = {0xA5, 0x0F, 0xFF, 0x7F};  // 65534 bytes
    const Bytes kTimeMarkOf64KiB = {0xA5, 0x0F, 0x00, 0x80};     // 65536 bytes
    struct SCase {
        Bytes header;
        std::size_t nRecordsAfter;
        SWalkOptions options;
    };
    const SCase kCases[] = {
        {kTimeMarkPastTheEnd, 2, {}},
        {kTimeMarkOf64KiB, 2500, {.nSkipSizeAbove = 51200}},
        {HardwareConfig().CorruptChecksum().Build(), 2, {}},
    };
    for (const SCase& c : kCases) {
        CRecordingBuilder recording;
        recording.Add(VelocitySample()).Add(c.header);
        for (std::size_t i = 0; i < c.nRecordsAfter; ++i) {
            recording.Add(SystemSample());
        }
        EXPECT_EQ(Walk(recording.Image(), c.options).size(), 1 + c.nRecordsAfter);
        EXPECT_EQ(m_damage.nSkippedBytes, c.header.size());
        EXPECT_EQ(m_damage.nSkippedSpans, 1u);
    }
}

TEST_F(CRecordWalkTest, WithoutChecksumControlDamagedRecordsPass) {
    const Bytes image =
        CRecordingBuilder().Add(VelocitySample().CorruptChecksum()).Add(SystemSample()).Image();
    EXPECT_EQ(Walk(image, SWalkOptions{.bVerifyChecksum = false}),
              (std::vector<SSeen>{{0x10, 0, 24}, {0x11, 24, 28}}));
}

TEST_F(CRecordWalkTest, WalksAcrossWindowEdgesWithoutLosingRecords) {
    CRecordingBuilder recording;
    // 28-byte and 24-byte records do not divide the window, so some straddle its edges.
    constexpr int kPairs = 30000;
    for (int i = 0; i < kPairs; ++i) {
        recording.Add(SystemSample()).Add(VelocitySample());
    }
    ASSERT_GT(recording.Size(), 4 * CBinaryFile::kWindowSize);
    const std::vector<SSeen> seen = Walk(recording.Image());
    ASSERT_EQ(seen.size(), 2u * kPairs);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].nOffset, (i / 2) * 52 + (i % 2) * 28);
    }
    EXPECT_TRUE(m_damage.IsClean());
}

TEST_F(CRecordWalkTest, LearnsTheBeamCountFromTheRecordsWithoutAConfiguration) {
    const Bytes image = CRecordingBuilder()
                            .Add(CRecordBuilder(RecordId::OneBeamSample, 16, false))
                            .Add(VelocitySample({{5}, {6}, {7}}))
                            .Image();
    EXPECT_EQ(Walk(image), (std::vector<SSeen>{{0x08, 0, 16}, {0x10, 16, 16}}));
    EXPECT_EQ(m_geometry.nBeams, 1);
}

}  // namespace
}  // namespace sulvan
