#pragma once
// The probe configuration a Corvane recording carries as XML: the settings common to all probes
// and one section per Miravelo probe, in the order that numbers the probes of the recording.

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlNodes.hpp"

namespace sulvan {

struct CommonConfig {
    std::int32_t nBaudRate = 115200;
    std::uint32_t nSamplingRate = 1;  // Hz
    double dTemperature = 20.0;       // degC
    bool bTemperatureMeasured = true;
    double dSalinity = 0.0;       // ppt
    double dSoundSpeed = 1460.0;  // m/s
    bool bSoundSpeedMeasured = true;
};

struct ProbeConfig {
    std::int32_t nType = 1;
    std::string strConfFile;  // read only for type 2
    std::string strSerialNumber;
    std::string strPort;
    std::int16_t nVelocityRange = 0;
    std::int16_t nSamplingVolume = 0;
    std::int16_t nTransmitLength = 0;
    std::int32_t nPowerLevel = 0;
    std::int32_t nCoordinateSystem = 1;
    std::int32_t nTriggerOut = 0;
    bool bSyncMaster = false;
    bool bStartOnSync = false;
    bool bSampleOnSync = false;
    bool bAnalogOutput = false;
};

struct MiraveloConfig {
    CommonConfig common;
    std::vector<ProbeConfig> probes;  // at most kMaxProbeConfigs
};

inline constexpr std::size_t kMaxProbeConfigs = 100;

// Parses the whole stream and fills the configuration; absent and unreadable settings keep
// their defaults. Throws std::logic_error "Configuration file is invalid" or "Type of
// configuration file is unknown", and the MyXML parser errors of a malformed text.
void ReadMiraveloConfig(std::istream& input, MiraveloConfig& config);

// The value of the first child element named strKey: that child must hold exactly one node, a
// text. Numbers and flags are read as the classic locale's formatted input reads them (flags
// are 0 or 1); a text with more than trailing whitespace after the value still sets the value
// but gives false. False, with the field as it was, when there is no value to read. One
// variant per field type: std::int32_t, std::uint32_t, std::int16_t, double, bool, std::string.
template <class TField>
bool ReadChildValue(const MyXML::Element& element, std::string_view strKey, TField& field);

// The same for the value of the attribute named strName: std::int32_t, bool, std::string.
template <class TField>
bool ReadAttribute(const MyXML::Element& element, std::string_view strName, TField& field);

}  // namespace sulvan
