#include "netcdf/NcGlobalAttributes.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "netcdf/IsoTime.hpp"

namespace sulvan {
namespace {

struct SFixedAttribute {
    const char* pName;
    const char* pValue;
};

// Attributes whose value the conventions fix; the metadata may only repeat them.
constexpr std::array kFixed = {
    SFixedAttribute{"Conventions", "CF-1.8, ACDD-1.3"},
    SFixedAttribute{"featureType", "timeSeries"},
    SFixedAttribute{"standard_name_vocabulary", "CF Standard Name Table v83"},
};

// Attributes the converter writes from the recording and the position (the resolutions of a
// position are the user's to give).
constexpr std::array kFromRecording = {
    "date_created",
    "history",
    "source",
    "product_version",
    "processing_level",
    "instrument",
    NcSetting::DeploymentName,
    NcSetting::DeploymentComment,
    NcSetting::SamplingRate,
    NcSetting::BurstMode,
    NcSetting::SamplesPerBurst,
    NcSetting::SoundSpeed,
    NcSetting::Salinity,
    NcSetting::CoordinateSystem,
    NcSetting::MeasurementInterval,
    NcSetting::AveragingInterval,
    NcSetting::WaveMode,
    NcSetting::BaudRate,
    NcSetting::Temperature,
    NcSetting::TemperatureMeasured,
    NcSetting::SoundSpeedMeasured,
    NcSetting::ProbeConfiguration,
    NcSetting::SamplesTotal,
    NcSetting::SamplesMissing,
    "geospatial_lat_min",
    "geospatial_lat_max",
    "geospatial_lat_units",
    "geospatial_lon_min",
    "geospatial_lon_max",
    "geospatial_lon_units",
    "geospatial_vertical_min",
    "geospatial_vertical_max",
    "geospatial_vertical_units",
    "geospatial_vertical_positive",
    "geospatial_bounds",
    "geospatial_bounds_crs",
};
constexpr std::array<std::string_view, 3> kFromRecordingPrefixes = {"time_coverage_", "damage_",
                                                                    "geospatial_bounds_vertical"};

constexpr const char* kKeywords = "EARTH SCIENCE > OCEANS > OCEAN CIRCULATION > OCEAN CURRENTS";
constexpr const char* kKeywordsVocabulary = "GCMD:GCMD Keywords";
constexpr const char* kProcessingLevel =
    "instrument counts as recorded; velocities scaled to m s-1 by their scale_factor";

bool IsFromRecording(std::string_view strName) {
    return std::find(kFromRecording.begin(), kFromRecording.end(), strName) !=
               kFromRecording.end() ||
           std::any_of(kFromRecordingPrefixes.begin(), kFromRecordingPrefixes.end(),
                       [&](std::string_view strPrefix) { return strName.starts_with(strPrefix); });
}

void Put(CNcFile& file, const SNcAttribute& attribute) {
    std::visit(
        [&](const auto& value) { file.PutAttribute(CNcFile::kGlobal, attribute.strName, value); },
        attribute.value);
}

void PutDefault(CNcFile& file, const SNcMetadata& metadata, const char* pName,
                const std::string& strValue) {
    if (metadata.Find(pName) == nullptr && !strValue.empty()) {
        file.PutAttribute(CNcFile::kGlobal, pName, strValue);
    }
}

std::string NumberText(double dValue) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", dValue);
    return text;
}

// The positions the metadata give: one for the station, or one per probe.
std::vector<SNcProbePosition> PositionsOf(const SNcMetadata& metadata) {
    if (!metadata.probes.empty()) {
        return metadata.probes;
    }
    if (!metadata.HasPosition()) {
        return {};
    }
    return {{std::string(), *metadata.latitude, *metadata.longitude, metadata.depth}};
}

void PutRange(CNcFile& file, const char* pAxis, const std::vector<double>& values) {
    const auto [itMin, itMax] = std::minmax_element(values.begin(), values.end());
    file.PutAttribute(CNcFile::kGlobal, std::string("geospatial_") + pAxis + "_min", *itMin);
    file.PutAttribute(CNcFile::kGlobal, std::string("geospatial_") + pAxis + "_max", *itMax);
}

void WritePosition(CNcFile& file, const SNcMetadata& metadata) {
    const std::vector<SNcProbePosition> positions = PositionsOf(metadata);
    if (positions.empty()) {
        return;
    }
    const SNcVariable global = CNcFile::kGlobal;
    std::vector<double> latitudes;
    std::vector<double> longitudes;
    std::vector<double> depths;
    // Well-known text in the axis order of EPSG:4326, latitude first.
    std::string strPoints;
    for (const SNcProbePosition& position : positions) {
        latitudes.push_back(position.dLatitude);
        longitudes.push_back(position.dLongitude);
        if (position.depth) {
            depths.push_back(*position.depth);
        }
        strPoints += (strPoints.empty() ? "" : ", ") +
                     std::string(positions.size() > 1 ? "(" : "") + NumberText(position.dLatitude) +
                     " " + NumberText(position.dLongitude) + (positions.size() > 1 ? ")" : "");
    }
    PutRange(file, "lat", latitudes);
    file.PutAttribute(global, "geospatial_lat_units", "degrees_north");
    PutRange(file, "lon", longitudes);
    file.PutAttribute(global, "geospatial_lon_units", "degrees_east");
    file.PutAttribute(global, "geospatial_bounds",
                      (positions.size() > 1 ? "MULTIPOINT (" : "POINT (") + strPoints + ")");
    file.PutAttribute(global, "geospatial_bounds_crs", "EPSG:4326");
    if (!depths.empty()) {
        PutRange(file, "vertical", depths);
        file.PutAttribute(global, "geospatial_vertical_units", "m");
        file.PutAttribute(global, "geospatial_vertical_positive", "down");
        // Depth below the water surface.
        file.PutAttribute(global, "geospatial_bounds_vertical_crs", "EPSG:5831");
    }
}

}  // namespace

std::string DescribeMetadataConflict(const SNcAttribute& attribute) {
    const std::string& strName = attribute.strName;
    for (const SFixedAttribute& fixed : kFixed) {
        if (strName != fixed.pName) {
            continue;
        }
        const auto* pText = std::get_if<std::string>(&attribute.value);
        if (pText != nullptr && *pText == fixed.pValue) {
            return {};
        }
        return "the key \"" + strName + "\" contradicts what the converter writes (\"" +
               fixed.pValue + "\")";
    }
    if (IsFromRecording(strName)) {
        return "the key \"" + strName + "\" is written by the converter from the recording";
    }
    return {};
}

void WriteOpeningGlobals(CNcFile& file, const SNcRecordingFacts& facts,
                         const SNcMetadata& metadata) {
    const SNcVariable global = CNcFile::kGlobal;
    for (const SFixedAttribute& fixed : kFixed) {
        file.PutAttribute(global, fixed.pName, fixed.pValue);
    }
    PutDefault(file, metadata, "title", facts.strTitle);
    PutDefault(file, metadata, "summary", facts.strSummary);
    PutDefault(file, metadata, "keywords", kKeywords);
    PutDefault(file, metadata, "keywords_vocabulary", kKeywordsVocabulary);
    PutDefault(file, metadata, "id", facts.strId);
    PutDefault(file, metadata, "comment", facts.strComment);
    for (const SNcAttribute& attribute : metadata.attributes) {
        const bool bFixed = std::any_of(kFixed.begin(), kFixed.end(), [&](const auto& fixed) {
            return attribute.strName == fixed.pName;
        });
        if (!bFixed) {
            Put(file, attribute);
        }
    }
    const double dNow = CurrentUtcDateTime();
    file.PutAttribute(global, "date_created", FormatIsoDateTime(dNow) + "Z");
    file.PutAttribute(global, "history",
                      FormatIsoDateTime(dNow) + "Z " +
                          (facts.strCommandLine.empty() ? "sulvan" : facts.strCommandLine));
    file.PutAttribute(global, "source",
                      facts.strInputName + " (" + std::to_string(facts.nInputSize) + " bytes)");
    file.PutAttribute(global, "product_version", SULVAN_PRODUCT_VERSION);
    file.PutAttribute(global, "processing_level", kProcessingLevel);
    file.PutAttribute(global, "instrument", facts.strInstrument);
    for (const SNcAttribute& setting : facts.settings) {
        Put(file, setting);
    }
    WritePosition(file, metadata);
}

void WriteClosingGlobals(CNcFile& file, const SNcCoverage& coverage, const SNcDamage& damage) {
    WriteTimeCoverage(file, coverage);
    const SNcVariable global = CNcFile::kGlobal;
    const auto count = [](std::uint64_t nValue) { return static_cast<std::int64_t>(nValue); };
    file.PutAttribute(global, "damage_bytes_skipped", count(damage.walk.nSkippedBytes));
    file.PutAttribute(global, "damage_spans", count(damage.walk.nSkippedSpans));
    file.PutAttribute(global, "damage_largest_span", count(damage.walk.nLargestSpan));
    file.PutAttribute(global, "damage_checksum_errors", count(damage.walk.nChecksumErrors));
    file.PutAttribute(global, "damage_samples_before_first_time",
                      count(damage.nSamplesBeforeFirstTime));
    file.PutAttribute(global, "damage_system_samples_without_time",
                      count(damage.nSystemSamplesWithoutTime));
}

void WriteTimeCoverage(CNcFile& file, const SNcCoverage& coverage) {
    const SNcVariable global = CNcFile::kGlobal;
    file.PutAttribute(global, "time_coverage_start",
                      FormatIsoDateTime(coverage.dEpoch, coverage.dFirst));
    file.PutAttribute(global, "time_coverage_end",
                      FormatIsoDateTime(coverage.dEpoch, coverage.dLast));
    file.PutAttribute(global, "time_coverage_duration",
                      FormatIsoDuration(coverage.dLast - coverage.dFirst));
    file.PutAttribute(global, "time_coverage_resolution", FormatIsoDuration(coverage.dResolution));
}

}  // namespace sulvan
