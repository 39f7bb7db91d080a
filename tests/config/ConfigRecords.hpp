#pragma once
// Configurations for the deployment tests: the builders' records with single fields changed,
// loaded as the reader loads them.

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "RecordBuilder.hpp"
#include "config/CInsConf.hpp"

namespace sulvan::test {

using namespace records;

struct SField {
    std::size_t nOffset;
    std::uint16_t nValue;
};

struct SRecords {
    // Fields over the builders' defaults: UserConfig(), HeadConfig() with the head serial, and
    // HardwareConfig(serial, firmware).
    explicit SRecords(const char* pSerialText = "TRS 1001",
                      const char* pHeadSerialText = "TRS 2001", std::vector<SField> userFields = {},
                      std::vector<SField> headFields = {}, std::vector<SField> hardwareFields = {},
                      const char* pFirmwareText = "1.08")
        : pSerial(pSerialText),
          pHeadSerial(pHeadSerialText),
          user(std::move(userFields)),
          head(std::move(headFields)),
          hardware(std::move(hardwareFields)),
          pFirmware(pFirmwareText) {}

    const char* pSerial;
    const char* pHeadSerial;
    std::vector<SField> user;
    std::vector<SField> head;
    std::vector<SField> hardware;
    const char* pFirmware;
};

inline CRecordBuilder& SetFields(CRecordBuilder& record, const std::vector<SField>& fields) {
    for (const SField& field : fields) {
        record.U16(field.nOffset, field.nValue);
    }
    return record;
}

inline CInsConf LoadConfiguration(const SRecords& records, const CRecordBuilder& user) {
    CRecordBuilder hardware = HardwareConfig(records.pSerial, records.pFirmware);
    SHeadOptions headOptions;
    headOptions.strSerial = records.pHeadSerial;
    CRecordBuilder head = HeadConfig(headOptions);
    CInsConf conf;
    EXPECT_EQ(conf.SetHardwareConfig(SetFields(hardware, records.hardware).Build()), 1);
    EXPECT_EQ(conf.SetHeadConfig(SetFields(head, records.head).Build()), 1);
    EXPECT_EQ(conf.SetUserConfig(user.Build()), 1);
    return conf;
}

inline CInsConf LoadConfiguration(const SRecords& records) {
    CRecordBuilder user = UserConfig();
    return LoadConfiguration(records, SetFields(user, records.user));
}

}  // namespace sulvan::test
