#pragma once
// What a recording cannot know about itself (where the instrument stood, who recorded it), for
// the global attributes of a netCDF file: a small JSON object given with --metadata FILE, or
// the file sulvan-metadata.json beside the recording. It is read and checked before any
// output is created.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/FileOutcome.hpp"

namespace sulvan {

inline constexpr const char* kDefaultMetadataName = "sulvan-metadata.json";

struct SNcAttribute {
    std::string strName;
    std::variant<std::string, double, std::int64_t> value;
};

// Where one probe of a Corvane recording stood, by its serial number.
struct SNcProbePosition {
    std::string strSerial;
    double dLatitude = 0.0;
    double dLongitude = 0.0;
    std::optional<double> depth;
};

struct SNcMetadata {
    std::optional<double> latitude;   // decimal degrees north
    std::optional<double> longitude;  // decimal degrees east
    std::optional<double> depth;      // m, positive down
    // The key "probes": a position per probe serial number, instead of one position.
    std::vector<SNcProbePosition> probes;
    // Further global attributes, in the order of the file.
    std::vector<SNcAttribute> attributes;

    // Whether the position is complete: latitude and longitude (depth may be left out).
    bool HasPosition() const { return latitude && longitude; }
    // The value given for an attribute, if any.
    const SNcAttribute* Find(std::string_view strName) const;
};

struct SNcMetadataRead {
    SNcMetadata metadata;
    // The file read; empty when there was none to read.
    std::string strFile;
    // Why the metadata were refused (naming the file, and the line or key); nothing may be
    // converted then.
    std::optional<SFileMessage> refusal;
};

// The message of metadata refused for strReason (which starts in lower case).
SFileMessage MetadataRefusal(const std::string& strFile, const std::string& strReason);

// The metadata for a recording: from strGiven when it is not empty, otherwise from
// sulvan-metadata.json in the recording's folder when that exists, otherwise none.
SNcMetadataRead ReadNcMetadata(const std::string& strRecording, const std::string& strGiven);

// The metadata in the text of strFile.
SNcMetadataRead ParseNcMetadata(std::string_view strText, const std::string& strFile);

}  // namespace sulvan
