#include "app/StartTime.hpp"

#include <array>

#include "config/CInsConf.hpp"
#include "format/BcdClock.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/CBinaryFile.hpp"

namespace sulvan {
namespace {

// The first data record of a file of the standard layout, far enough to hold its clock.
constexpr std::size_t kFirstRecord = CInsConf::kBlockSize;
constexpr std::size_t kHeadNeeded = kFirstRecord + 20;

}  // namespace

double ReadStartTime(const std::string& strPath) {
    std::array<std::uint8_t, kHeadNeeded> head{};
    if (CBinaryFile::ReadHead(strPath, head) != kHeadNeeded) {
        return 0.0;
    }
    const std::uint8_t nId = head[kFirstRecord + 1];
    if (head[kFirstRecord] != kSyncByte ||
        (nId != RecordId::CurrentProfile && nId != RecordId::CurrentProfile + 1)) {
        return 0.0;
    }
    return DecodeClock(head.data() + kFirstRecord + kRecordClockOffset).value_or(0.0);
}

}  // namespace sulvan
