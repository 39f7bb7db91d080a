// Arbitrary bytes as the three configuration records (their framing and checksums made valid,
// so that every field reaches the decode): the accessors, the decode with its validation and,
// for the type the encode serves (0), the encode round trip: a deployment encoded, decoded and
// encoded again gives the same user record. One word is left out: the encode's table writes
// analog channel b = 2 as a word that the decode reads as channel 3 (the table is the
// instrument's own, and only the default deployment, which has no analog channel, is encoded).

#include <algorithm>
#include <array>

#include "FuzzTargets.hpp"
#include "config/CConfig.hpp"
#include "config/CInsConf.hpp"
#include "format/Checksum.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/ByteOrder.hpp"

namespace sulvan::fuzz {
namespace {

// The next nSize bytes of the input (zero past its end) framed as a record of this identifier.
template <std::size_t N>
std::array<std::uint8_t, N> Record(std::span<const std::uint8_t>& input, std::uint8_t nId) {
    std::array<std::uint8_t, N> record{};
    const std::size_t nTaken = std::min(N, input.size());
    std::copy_n(input.begin(), nTaken, record.begin());
    input = input.subspan(nTaken);
    record[0] = kSyncByte;
    record[1] = nId;
    WriteU16Le(record.data() + 2, static_cast<std::uint16_t>(N / 2));
    SealRecord(record);
    return record;
}

void ReadEveryField(CInsConf& conf) {
    conf.GetHardwareSerial();
    conf.GetHeadSerial();
    conf.GetFirmwareVersion();
    conf.GetHeadFrequency();
    conf.GetDeploymentName();
    conf.GetComment();
    conf.GetDeploymentStart();
    conf.GetAnalogInputs();
    conf.PassesFeatureCheck();
}

}  // namespace

int FuzzConfiguration(const std::uint8_t* pData, std::size_t nSize) {
    std::span<const std::uint8_t> input(pData, nSize);
    CInsConf conf;
    Require(conf.SetHardwareConfig(
                Record<CInsConf::kHardwareSize>(input, RecordId::HardwareConfig)) == 1 &&
                conf.SetHeadConfig(Record<CInsConf::kHeadSize>(input, RecordId::HeadConfig)) == 1 &&
                conf.SetUserConfig(Record<CInsConf::kUserSize>(input, RecordId::UserConfig)) == 1,
            "sealed records are taken");
    ReadEveryField(conf);
    CConfig config;
    config.Decode(conf, 1, nullptr);
    config.Validate(nullptr);
    if (config.m_nType != 0) {
        return 0;
    }
    CInsConf encoded = conf;
    config.Encode(encoded);
    CInsConf reloaded = conf;
    Require(reloaded.SetUserConfig(encoded.GetUserConfigRecord()) == 1,
            "an encoded user record loads");
    CConfig decoded;
    decoded.Decode(reloaded, 1, nullptr);
    decoded.m_nAnalogA = config.m_nAnalogA;
    decoded.m_nAnalogB = config.m_nAnalogB;
    CInsConf encodedAgain = conf;
    decoded.Encode(encodedAgain);
    Require(encodedAgain.GetUserConfigRecord() == encoded.GetUserConfigRecord(),
            "encoding a decoded encoding gives the same user record");
    return 0;
}

}  // namespace sulvan::fuzz
