#include "xml/MiraveloConfig.hpp"

#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "xml/XmlParser.hpp"

namespace sulvan {
namespace {

constexpr std::string_view kConfigurationType = "Sulvan Miravelo";

// The text of a setting element: its one child, when that is a text.
std::optional<std::string> ValueText(const MyXML::Element& element, std::string_view strKey) {
    const MyXML::ElementRef child = element.FindChildElement(strKey).first;
    if (!child || child->ChildCount() != 1 || !child->Child(0) ||
        child->Child(0)->TypeCode() != MyXML::kTextNode) {
        return std::nullopt;
    }
    return Quolib::RefCast<MyXML::TextNode>(child->Child(0))->m_strText;
}

// Reads a value from the start of the text; the field changes only when one was read.
template <class T>
bool ConvertText(const std::string& strText, T& field) {
    std::istringstream text(strText);
    text.imbue(std::locale::classic());
    T value{};
    if (!(text >> value)) {
        return false;
    }
    field = value;
    text >> std::ws;
    return text.eof();
}

bool ConvertText(const std::string& strText, bool& bField) {
    std::int32_t nValue = 0;
    std::istringstream text(strText);
    text.imbue(std::locale::classic());
    if (!(text >> nValue) || (nValue != 0 && nValue != 1)) {
        return false;
    }
    bField = nValue == 1;
    text >> std::ws;
    return text.eof();
}

bool ConvertText(const std::string& strText, std::string& strField) {
    strField = strText;
    return true;
}

void ReadCommon(const MyXML::Element& element, CommonConfig& common) {
    common.nBaudRate = 115200;
    ReadChildValue(element, "BAUD_RATE", common.nBaudRate);
    common.nSamplingRate = 1;
    ReadChildValue(element, "SAMPLING_RATE", common.nSamplingRate);
    common.dTemperature = 20.0;
    common.bTemperatureMeasured = true;
    if (const MyXML::ElementRef temperature = element.FindChildElement("TEMPERATURE").first) {
        ReadAttribute(*temperature, "measured", common.bTemperatureMeasured);
        ReadChildValue(element, "TEMPERATURE", common.dTemperature);
    }
    common.dSalinity = 1.0;
    ReadChildValue(element, "SALINITY", common.dSalinity);
    // Unlike the others the sound speed keeps the value it had when the element is absent.
    if (const MyXML::ElementRef soundSpeed = element.FindChildElement("SOUND_SPEED").first) {
        ReadAttribute(*soundSpeed, "measured", common.bSoundSpeedMeasured);
        ReadChildValue(element, "SOUND_SPEED", common.dSoundSpeed);
    }
}

ProbeConfig ReadProbe(const MyXML::Element& element) {
    ProbeConfig probe;
    ReadChildValue(element, "TYPE", probe.nType);
    if (probe.nType == 2) {
        ReadChildValue(element, "CONF_FILE", probe.strConfFile);
    }
    ReadChildValue(element, "SERIAL_NUMBER", probe.strSerialNumber);
    ReadChildValue(element, "PORT", probe.strPort);
    ReadChildValue(element, "VELOCITY_RANGE", probe.nVelocityRange);
    ReadChildValue(element, "SAMPLING_VOLUME", probe.nSamplingVolume);
    ReadChildValue(element, "TRANSMIT_LENGTH", probe.nTransmitLength);
    ReadChildValue(element, "POWER_LEVEL", probe.nPowerLevel);
    ReadChildValue(element, "COORDINATE_SYSTEM", probe.nCoordinateSystem);
    ReadChildValue(element, "TRIGGER_OUT", probe.nTriggerOut);
    ReadChildValue(element, "SYNC_MASTER", probe.bSyncMaster);
    ReadChildValue(element, "START_ON_SYNC", probe.bStartOnSync);
    ReadChildValue(element, "SAMPLE_ON_SYNC", probe.bSampleOnSync);
    ReadChildValue(element, "ANALOG_OUTPUT", probe.bAnalogOutput);
    return probe;
}

}  // namespace

void ReadMiraveloConfig(std::istream& input, MiraveloConfig& config) {
    const MyXML::DocumentRef document = MyXML::ParseDocument(input);
    if (!document->m_root) {
        throw std::logic_error("Configuration file is invalid");
    }
    const MyXML::Element& root = *document->m_root;
    const std::optional<std::string> type = root.Attribute("type");
    if (!type || *type != kConfigurationType) {
        throw std::logic_error("Type of configuration file is unknown");
    }
    std::int32_t nVersion = 0;
    ReadAttribute(root, "version", nVersion);
    if (const MyXML::ElementRef common = root.FindChildElement("COMMON").first) {
        ReadCommon(*common, config.common);
    }
    std::size_t nFrom = 0;
    while (config.probes.size() < kMaxProbeConfigs) {
        const auto [probe, nAt] = root.FindChildElement("PROBE", nFrom);
        if (!probe) {
            break;
        }
        config.probes.push_back(ReadProbe(*probe));
        nFrom = nAt + 1;
    }
}

template <class TField>
bool ReadChildValue(const MyXML::Element& element, std::string_view strKey, TField& field) {
    const std::optional<std::string> text = ValueText(element, strKey);
    return text && ConvertText(*text, field);
}

template <class TField>
bool ReadAttribute(const MyXML::Element& element, std::string_view strName, TField& field) {
    const std::optional<std::string> text = element.Attribute(strName);
    return text && ConvertText(*text, field);
}

template bool ReadChildValue(const MyXML::Element&, std::string_view, std::int32_t&);
template bool ReadChildValue(const MyXML::Element&, std::string_view, std::uint32_t&);
template bool ReadChildValue(const MyXML::Element&, std::string_view, std::int16_t&);
template bool ReadChildValue(const MyXML::Element&, std::string_view, double&);
template bool ReadChildValue(const MyXML::Element&, std::string_view, bool&);
template bool ReadChildValue(const MyXML::Element&, std::string_view, std::string&);
template bool ReadAttribute(const MyXML::Element&, std::string_view, std::int32_t&);
template bool ReadAttribute(const MyXML::Element&, std::string_view, bool&);
template bool ReadAttribute(const MyXML::Element&, std::string_view, std::string&);

}  // namespace sulvan
