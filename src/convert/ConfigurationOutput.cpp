#include "convert/ConfigurationOutput.hpp"

#include "config/CInsConf.hpp"
#include "platform/CBinaryFile.hpp"

namespace sulvan {

void WriteConfigurationBlock(CBinaryFile& output, CInsConf& conf) {
    CInsConf::HardwareRecord hardware{};
    CInsConf::HeadRecord head{};
    CInsConf::UserRecord user{};
    conf.GetHardwareConfig(hardware.data());
    conf.GetHeadConfig(head.data());
    conf.GetUserConfig(user.data());
    output.Write(hardware.data(), hardware.size());
    output.Write(head.data(), head.size());
    output.Write(user.data(), user.size());
}

}  // namespace sulvan
