#include "format/Checksum.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace sulvan {
namespace {

// Sums by hand: 0xB58C + 0x02A5 + 0x0008 = 0xB839.
const std::vector<std::uint8_t> kHalfSizeRecord = {0xA5, 0x02, 0x08, 0x00, 0, 0, 0,    0,
                                                   0,    0,    0,    0,    0, 0, 0x39, 0xB8};
// 0xB58C + 0x07A5 + 0x0004 + 0xFFFF = 0x1BD34: the carry out of bit 15 is dropped.
const std::vector<std::uint8_t> kCarryRecord = {0xA5, 0x07, 0x04, 0x00, 0xFF, 0xFF, 0x34, 0xBD};

TEST(RecordChecksum, MatchesHandComputedSums) {
    EXPECT_EQ(RecordChecksum(kHalfSizeRecord.data(), 7), 0xB839);
    EXPECT_EQ(RecordChecksum(kCarryRecord.data(), 3), 0xBD34);
    EXPECT_EQ(RecordChecksum(kCarryRecord.data(), 0), kChecksumSeed);
    EXPECT_TRUE(IsRecordIntact(kHalfSizeRecord));
    EXPECT_TRUE(IsRecordIntact(kCarryRecord));
}

TEST(RecordChecksum, AnyChangedByteBreaksTheRecord) {
    for (std::size_t i = 0; i < kHalfSizeRecord.size(); ++i) {
        std::vector<std::uint8_t> record = kHalfSizeRecord;
        record[i] ^= 0x01;
        EXPECT_FALSE(IsRecordIntact(record)) << "byte " << i;
    }
}

TEST(RecordChecksum, TooShortToHoldAChecksumIsNeverIntact) {
    EXPECT_FALSE(IsRecordIntact(std::vector<std::uint8_t>{0xA5}));
}

}  // namespace
}  // namespace sulvan
