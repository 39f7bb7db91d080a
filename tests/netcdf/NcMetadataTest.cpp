#include "netcdf/NcMetadata.hpp"

#include <gtest/gtest.h>

#include "CTempDir.hpp"

namespace sulvan {
namespace {

using test::CTempDir;

struct SRefusalCase {
    const char* pText;
    const char* pReason;
};

class NcMetadataRefusal : public ::testing::TestWithParam<SRefusalCase> {};

TEST_P(NcMetadataRefusal, NamesTheLineOrTheKey) {
    const SNcMetadataRead read = ParseNcMetadata(GetParam().pText, "/data/meta.json");
    ASSERT_TRUE(read.refusal.has_value());
    const std::string strReason = GetParam().pReason;
    EXPECT_EQ(read.refusal->strReason.substr(0, 17 + strReason.size()),
              "/data/meta.json: " + strReason);
    std::string strText = read.refusal->strReason.substr(17);
    strText[0] = static_cast<char>(std::toupper(strText[0]));
    EXPECT_EQ(read.refusal->strText, "/data/meta.json\r" + strText + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Files, NcMetadataRefusal,
    ::testing::Values(
        SRefusalCase{"{\n  \"title\": \"x\",\n  \"summary\" \"y\"\n}",
                     "the metadata file is not valid JSON at line 3: syntax error"},
        SRefusalCase{"[1, 2]", "the metadata file holds no JSON object"},
        SRefusalCase{R"({"title": "a", "title": "b"})", "the key \"title\" is given twice"},
        SRefusalCase{R"({"featureType": "trajectory"})",
                     "the key \"featureType\" contradicts what the converter writes "
                     "(\"timeSeries\")"},
        SRefusalCase{R"({"history": "mine"})",
                     "the key \"history\" is written by the converter from the recording"},
        SRefusalCase{R"({"time_coverage_start": "2008"})",
                     "the key \"time_coverage_start\" is written by the converter"},
        SRefusalCase{R"({"latitude": 95, "longitude": 0})",
                     "the key \"latitude\" must be a number from -90 to 90"},
        SRefusalCase{R"({"latitude": "54N", "longitude": 0})",
                     "the key \"latitude\" must be a number"},
        SRefusalCase{R"({"reviewed": true})",
                     "the value of \"reviewed\" is neither a string nor a number"},
        SRefusalCase{R"({"creator name": "A"})", "the key \"creator name\" is no attribute name"},
        SRefusalCase{R"({"latitude": 54.5})", "latitude and longitude must be given together"}));

TEST(NcMetadata, ReadsTheFileBesideTheRecordingUnlessOneIsGiven) {
    CTempDir dir;
    const std::string strRecording = dir.Path("run.trs");
    EXPECT_TRUE(ReadNcMetadata(strRecording, "").strFile.empty());
    const std::string strText = R"({"title": "beside"})";
    dir.Write("sulvan-metadata.json",
              std::span(reinterpret_cast<const std::uint8_t*>(strText.data()), strText.size()));
    const SNcMetadataRead beside = ReadNcMetadata(strRecording, "");
    EXPECT_EQ(beside.strFile, dir.Path("sulvan-metadata.json"));
    EXPECT_EQ(std::get<std::string>(beside.metadata.Find("title")->value), "beside");
    const SNcMetadataRead missing = ReadNcMetadata(strRecording, dir.Path("other.json"));
    ASSERT_TRUE(missing.refusal.has_value());
    EXPECT_EQ(missing.refusal->strText, dir.Path("other.json") + "\rNo such file or directory");
}

}  // namespace
}  // namespace sulvan
