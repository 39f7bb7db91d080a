#include "app/StartTime.hpp"

#include <gtest/gtest.h>

#include "AppTestSupport.hpp"
#include "CTempDir.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

struct SHeadCase {
    const char* pWhat;
    std::uint8_t nSync;
    std::uint8_t nId;
    ClockBytes clock;
    std::size_t nLength;  // bytes of the file kept
    double dExpected;     // days since 1899-12-30
};

constexpr std::size_t kWhole = 824;  // configuration block and a 40-byte record

const SHeadCase kHeadCases[] = {
    {"profile 0x20", 0xA5, 0x20, MakeClock(2008, 1, 1, 12, 0, 0), kWhole, 39448.5},
    {"profile 0x21", 0xA5, 0x21, MakeClock(2007, 12, 31, 23, 59, 59), kWhole,
     39447.0 + 86399.0 / 86400.0},
    {"exactly 804 bytes", 0xA5, 0x20, MakeClock(2000, 2, 29, 0, 0, 0), 804, 36585.0},
    {"803 bytes", 0xA5, 0x20, MakeClock(2000, 2, 29, 0, 0, 0), 803, 0.0},
    {"system sample", 0xA5, 0x11, MakeClock(2008, 1, 1, 12, 0, 0), kWhole, 0.0},
    {"other profile", 0xA5, 0x22, MakeClock(2008, 1, 1, 12, 0, 0), kWhole, 0.0},
    {"no sync byte", 0xA4, 0x20, MakeClock(2008, 1, 1, 12, 0, 0), kWhole, 0.0},
    {"month 13", 0xA5, 0x20, {0x00, 0x00, 0x01, 0x12, 0x08, 0x13}, kWhole, 0.0},
};

TEST(StartTime, IsTheClockOfAProfileRecordAtByte784) {
    CTempDir dir;
    for (const SHeadCase& c : kHeadCases) {
        Bytes image = DatedRecording(c.clock, c.nId);
        image[784] = c.nSync;
        image.resize(c.nLength);
        EXPECT_NEAR(ReadStartTime(dir.Write("head.trs", image)), c.dExpected, 1e-9) << c.pWhat;
    }
    EXPECT_EQ(ReadStartTime(dir.Path("missing.trs")), 0.0);
    EXPECT_EQ(ReadStartTime(dir.Path()), 0.0);
}

}  // namespace
}  // namespace sulvan
