#include "netcdf/NcMetadata.hpp"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <vector>

#include "netcdf/NcGlobalAttributes.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/FileError.hpp"
#include "platform/Path.hpp"

namespace sulvan {
namespace {

using Json = nlohmann::json;

// A metadata file is a few lines; anything this large is not one.
constexpr std::uint64_t kLargestFile = 1024 * 1024;

SNcMetadataRead Refused(const std::string& strFile, const std::string& strReason) {
    SNcMetadataRead read;
    read.strFile = strFile;
    read.refusal = MetadataRefusal(strFile, strReason);
    return read;
}

// The line of a byte position (from 1, as the parser counts bytes read).
std::size_t LineOf(std::string_view strText, std::size_t nByte) {
    const std::size_t nEnd = std::min(nByte == 0 ? 0 : nByte - 1, strText.size());
    return 1 + static_cast<std::size_t>(std::count(
                   strText.begin(), strText.begin() + static_cast<std::ptrdiff_t>(nEnd), '\n'));
}

// The parser's reason without its prefix ("[json.exception...] parse error at line 2, column
// 5: ").
std::string ParserReason(const char* pWhat) {
    const std::string_view strWhat(pWhat);
    const std::size_t nColumn = strWhat.find("column");
    const std::size_t nColon = strWhat.find(": ", nColumn == std::string_view::npos ? 0 : nColumn);
    return std::string(nColon == std::string_view::npos ? strWhat : strWhat.substr(nColon + 2));
}

bool IsValidName(const std::string& strName) {
    static const std::regex kName("[A-Za-z][A-Za-z0-9_]*");
    return std::regex_match(strName, kName);
}

// A position value: a number within its limits.
std::optional<double> PositionValue(const Json& value, double dLowest, double dHighest) {
    if (!value.is_number()) {
        return std::nullopt;
    }
    const double dValue = value.get<double>();
    if (!std::isfinite(dValue) || dValue < dLowest || dValue > dHighest) {
        return std::nullopt;
    }
    return dValue;
}

struct SPositionKey {
    const char* pName;
    double dLowest;
    double dHighest;
    std::optional<double> SNcMetadata::*pField;
};

constexpr double kAnyDepth = 1.0e7;
const SPositionKey kPositionKeys[] = {
    {"latitude", -90.0, 90.0, &SNcMetadata::latitude},
    {"longitude", -180.0, 360.0, &SNcMetadata::longitude},
    {"depth", -kAnyDepth, kAnyDepth, &SNcMetadata::depth},
};

std::string NumberRange(const SPositionKey& key) {
    if (key.dHighest == kAnyDepth) {
        return "a number (metres, positive down)";
    }
    char text[64];
    std::snprintf(text, sizeof text, "a number from %g to %g", key.dLowest, key.dHighest);
    return text;
}

constexpr const char* kProbesKey = "probes";

// The key "probes": an object of positions by probe serial number, each an object of latitude,
// longitude and, when known, depth. The reason it cannot be taken, or empty after taking it.
std::string TakeProbePositions(const Json& value, SNcMetadata& metadata) {
    if (!value.is_object() || value.empty()) {
        return "the key \"probes\" must hold the positions by probe serial number, as "
               "{\"SERIAL\": {\"latitude\": ..., \"longitude\": ..., \"depth\": ...}}";
    }
    for (const auto& [strSerial, position] : value.items()) {
        const std::string strWhere = "the probe \"" + strSerial + "\" of \"probes\"";
        if (!position.is_object()) {
            return strWhere + " must hold an object of latitude, longitude and depth";
        }
        SNcMetadata probe;
        // Named, not bound: clang 14 cannot capture a structured binding in the lambda below.
        for (const auto& item : position.items()) {
            const std::string& strKey = item.key();
            const nlohmann::json& number = item.value();
            const auto* pKey =
                std::find_if(std::begin(kPositionKeys), std::end(kPositionKeys),
                             [&](const SPositionKey& key) { return strKey == key.pName; });
            if (pKey == std::end(kPositionKeys)) {
                return strWhere + " holds \"" + strKey + "\", which is no position key";
            }
            probe.*pKey->pField = PositionValue(number, pKey->dLowest, pKey->dHighest);
            if (!(probe.*pKey->pField)) {
                return "the key \"" + strKey + "\" of " + strWhere + " must be " +
                       NumberRange(*pKey);
            }
        }
        if (!probe.HasPosition()) {
            return strWhere + " needs latitude and longitude";
        }
        metadata.probes.push_back({strSerial, *probe.latitude, *probe.longitude, probe.depth});
    }
    return {};
}

// The reason the key cannot be taken, or empty after taking it.
std::string TakeKey(const std::string& strKey, const Json& value, SNcMetadata& metadata) {
    if (strKey == kProbesKey) {
        return TakeProbePositions(value, metadata);
    }
    for (const SPositionKey& key : kPositionKeys) {
        if (strKey == key.pName) {
            metadata.*key.pField = PositionValue(value, key.dLowest, key.dHighest);
            return metadata.*key.pField ? std::string()
                                        : "the key \"" + strKey + "\" must be " + NumberRange(key);
        }
    }
    if (!IsValidName(strKey)) {
        return "the key \"" + strKey +
               "\" is no attribute name (a letter, then letters, digits and underscores)";
    }
    SNcAttribute attribute{strKey, {}};
    if (value.is_string()) {
        attribute.value = value.get<std::string>();
    } else if (value.is_number_integer() && !value.is_number_unsigned()) {
        attribute.value = value.get<std::int64_t>();
    } else if (value.is_number_unsigned() &&
               value.get<std::uint64_t>() <= std::uint64_t{INT64_MAX}) {
        attribute.value = static_cast<std::int64_t>(value.get<std::uint64_t>());
    } else if (value.is_number()) {
        attribute.value = value.get<double>();
    } else {
        return "the value of \"" + strKey + "\" is neither a string nor a number";
    }
    std::string strConflict = DescribeMetadataConflict(attribute);
    if (strConflict.empty()) {
        metadata.attributes.push_back(std::move(attribute));
    }
    return strConflict;
}

}  // namespace

SFileMessage MetadataRefusal(const std::string& strFile, const std::string& strReason) {
    std::string strText = strReason;
    strText[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(strText[0])));
    return SFileMessage{strFile + "\r" + strText + ".", strFile + ": " + strReason};
}

const SNcAttribute* SNcMetadata::Find(std::string_view strName) const {
    for (const SNcAttribute& attribute : attributes) {
        if (attribute.strName == strName) {
            return &attribute;
        }
    }
    return nullptr;
}

SNcMetadataRead ParseNcMetadata(std::string_view strText, const std::string& strFile) {
    // Keys of the object itself seen so far; a repeated one is refused, not silently replaced.
    std::set<std::string> keys;
    std::string strRepeated;
    const Json::parser_callback_t noteKeys = [&](int nDepth, Json::parse_event_t event,
                                                 Json& parsed) {
        if (nDepth == 1 && event == Json::parse_event_t::key && strRepeated.empty() &&
            !keys.insert(parsed.get<std::string>()).second) {
            strRepeated = parsed.get<std::string>();
        }
        return true;
    };
    Json document;
    try {
        document = Json::parse(strText.begin(), strText.end(), noteKeys);
    } catch (const Json::parse_error& error) {
        return Refused(strFile, "the metadata file is not valid JSON at line " +
                                    std::to_string(LineOf(strText, error.byte)) + ": " +
                                    ParserReason(error.what()));
    }
    if (!document.is_object()) {
        return Refused(strFile, "the metadata file holds no JSON object");
    }
    if (!strRepeated.empty()) {
        return Refused(strFile, "the key \"" + strRepeated + "\" is given twice");
    }
    SNcMetadataRead read;
    read.strFile = strFile;
    for (const auto& [strKey, value] : document.items()) {
        const std::string strReason = TakeKey(strKey, value, read.metadata);
        if (!strReason.empty()) {
            return Refused(strFile, strReason);
        }
    }
    if (read.metadata.latitude.has_value() != read.metadata.longitude.has_value()) {
        return Refused(strFile, "latitude and longitude must be given together");
    }
    if (!read.metadata.probes.empty() &&
        (read.metadata.latitude || read.metadata.longitude || read.metadata.depth)) {
        return Refused(strFile,
                       "the position is given twice: once for the station (latitude, longitude, "
                       "depth) and once per probe (probes)");
    }
    return read;
}

SNcMetadataRead ReadNcMetadata(const std::string& strRecording, const std::string& strGiven) {
    std::string strFile = strGiven;
    if (strFile.empty()) {
        strFile = JoinPath(FolderOf(strRecording), kDefaultMetadataName);
        if (!CBinaryFile::Exists(strFile)) {
            return {};
        }
    }
    std::string strText;
    try {
        CBinaryFile file;
        file.Open(strFile, CBinaryFile::EOpenMode::Read);
        if (file.GetLength() > kLargestFile) {
            return Refused(strFile, "the metadata file is larger than 1 MiB");
        }
        strText.resize(static_cast<std::size_t>(file.GetLength()));
        strText.resize(file.Read(strText.data(), strText.size()));
        file.Close();
    } catch (const FileError& error) {
        SNcMetadataRead read;
        read.strFile = strFile;
        read.refusal = SFileMessage{error.MessageFor(strFile), error.what()};
        return read;
    }
    return ParseNcMetadata(strText, strFile);
}

}  // namespace sulvan
