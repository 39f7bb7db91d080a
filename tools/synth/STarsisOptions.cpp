#include "STarsisOptions.hpp"

#include "config/CInsConf.hpp"
#include "config/ConfigFields.hpp"

namespace sulvan::synth {
namespace {

constexpr double kFirstFirmwareWithBurstHeaders = 1.08;

}  // namespace

std::string DescribeProblem(const STarsisOptions& options) {
    if (std::string strCommon = DescribeProblem(static_cast<const SRecordingOptions&>(options));
        !strCommon.empty()) {
        return strCommon;
    }
    if (options.nRateDivisor == 0) {
        return "the sampling rate divisor must be at least 1";
    }
    if (options.bBurst && (options.nBurstSamples < 1 || options.nBurstSamples > kMaxBurstSamples)) {
        return "the samples per burst must be 1 to " + std::to_string(kMaxBurstSamples);
    }
    if (options.strFirmware.size() > HardwareField::FirmwareWidth) {
        return "the firmware text has at most 4 characters";
    }
    return {};
}

bool WritesBurstHeaders(const STarsisOptions& options) {
    CInsConf conf;
    conf.SetFirmwareText(options.strFirmware);
    return options.bBurst && conf.GetFirmwareVersion() >= kFirstFirmwareWithBurstHeaders;
}

}  // namespace sulvan::synth
