// The converted file as its users meet it: opened with xarray, and held against the rules of the
// compliance checker's CF-1.8 and ACDD-1.3 suites (tests/netcdf/cf_acdd_rules.py).

#include "CTarsisGenerator.hpp"
#include "Golden.hpp"
#include "NcTestSupport.hpp"
#include "ProcessRun.hpp"

namespace sulvan {
namespace {

using namespace test;

// The scripts' exit status when a Python module they need is missing.
constexpr int kModuleMissing = 77;

class NcUserView : public NcTest {
  protected:
    // A burst recording with a compass (earth coordinates), converted to .nc and .adv.
    void Convert(const SNcOptions& options = {}) {
        synth::STarsisOptions recording;
        recording.nSamples = 2000;
        recording.bBurst = true;
        recording.nBurstSamples = 256;
        recording.bCompass = true;
        synth::CTarsisGenerator(recording).Write(m_dir.Path("run.trs"));
        ASSERT_TRUE(ConvertToAdv(m_dir.Path("run.trs"), m_dir.Path("run.adv")));
        Open(m_dir.Path("run.trs"));
        ASSERT_FALSE(ConvertToNc(m_dir.Path("run.nc"), options).IsFailed());
    }

    SProcessResult RunScript(const std::string& strScript, const std::string& strArgument) {
        return RunProcess(SULVAN_PYTHON,
                          {std::string(SULVAN_NETCDF_TEST_DIR) + "/" + strScript,
                           m_dir.Path("run.nc"), strArgument},
                          m_dir.Path());
    }
};

TEST_F(NcUserView, XarrayDecodesTimesAndVelocities) {
    Convert();
    const SProcessResult result = RunScript("xarray_check.py", m_dir.Path("run.adv"));
    if (result.nStatus == kModuleMissing) {
        GTEST_SKIP() << "python3-xarray is not installed (scripts/install-deps installs it)";
    }
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "ok\n");
}

struct SRulesCase {
    const char* pName;
    const char* pMetadata;  // under tests/data, or none
    const char* pFindings;  // golden file under tests/data
};

class NcRules : public NcUserView, public ::testing::WithParamInterface<SRulesCase> {};

// With a metadata file, the findings left are the variables the CF table has no name for; without
// one, also the attributes only a user can supply.
TEST_P(NcRules, FindOnlyWhatTheRecordingCannotTell) {
    SNcOptions options;
    if (GetParam().pMetadata != nullptr) {
        const SNcMetadataRead read = ReadNcMetadata("", TestDataPath(GetParam().pMetadata));
        ASSERT_FALSE(read.refusal.has_value()) << read.refusal->strText;
        options.metadata = read.metadata;
    }
    Convert(options);
    const SProcessResult result =
        RunScript("cf_acdd_rules.py", TestDataPath("netcdf/cf-standard-names.tsv"));
    if (result.nStatus == kModuleMissing) {
        GTEST_SKIP() << "python3-netcdf4 is not installed (scripts/install-deps installs it)";
    }
    ASSERT_EQ(result.nStatus, 0) << result.strErr;
    const std::span<const std::uint8_t> findings(
        reinterpret_cast<const std::uint8_t*>(result.strOut.data()), result.strOut.size());
    EXPECT_TRUE(MatchesGolden(findings, GetParam().pFindings)) << result.strOut;
}

INSTANTIATE_TEST_SUITE_P(Files, NcRules,
                         ::testing::Values(SRulesCase{"WithMetadata", "netcdf/full-metadata.json",
                                                      "netcdf/rules-with-metadata.txt"},
                                           SRulesCase{"WithoutMetadata", nullptr,
                                                      "netcdf/rules-without-metadata.txt"}),
                         [](const auto& info) { return std::string(info.param.pName); });

}  // namespace
}  // namespace sulvan
