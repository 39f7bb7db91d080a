#include "app/StartTime.hpp"

#include <array>

#include "format/BcdClock.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/CBinaryFile.hpp"

namespace sulvan {
namespace {

constexpr std::size_t kFirstRecord = 784;
constexpr std::size_t kHeadNeeded = 804;

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
