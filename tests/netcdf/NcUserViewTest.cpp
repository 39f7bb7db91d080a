// The converted file as its users meet it: opened with xarray, and held against the rules of the
// compliance checker's CF-1.8 and ACDD-1.3 suites (tests/netcdf/cf_acdd_rules.py).

#include "CCorvaneGenerator.hpp"
#include "CPeloraGenerator.hpp"
#include "CTarsisGenerator.hpp"
#include "Golden.hpp"
#include "NcTestSupport.hpp"
#include "ProcessRun.hpp"
#include "convert/MrvToAdv.hpp"
#include "netcdf/MrvToNc.hpp"
#include "netcdf/PldToNc.hpp"

namespace sulvan {
namespace {

using namespace test;

// The scripts' exit status when a Python module they need is missing.
constexpr int kModuleMissing = 77;

enum class EKind { Tarsis, Pelora, Corvane };

const char* KindName(EKind kind) {
    return kind == EKind::Tarsis ? "tarsis" : kind == EKind::Pelora ? "pelora" : "corvane";
}

class NcUserView : public NcTest {
  protected:
    // A recording of the kind converted to .nc and to the legacy layout (the reference): a
    // Tarsis burst recording with a compass (earth coordinates) to .adv, a Pelora recording to
    // .wpr, four Corvane probes, one of them missing samples, to .adv.
    void Convert(EKind kind, const SNcOptions& options = {}) {
        SFileOutcome outcome;
        if (kind == EKind::Tarsis) {
            synth::STarsisOptions recording;
            recording.nSamples = 2000;
            recording.bBurst = true;
            recording.nBurstSamples = 256;
            recording.bCompass = true;
            synth::CTarsisGenerator(recording).Write(m_dir.Path("run.trs"));
            ASSERT_TRUE(ConvertToAdv(m_dir.Path("run.trs"), Reference()));
            Open(m_dir.Path("run.trs"));
            outcome = ConvertToNc(m_dir.Path("run.nc"), options);
        } else if (kind == EKind::Pelora) {
            m_bPelora = true;
            synth::SPeloraOptions recording;
            recording.nSamples = 3000;
            synth::CPeloraGenerator(recording).Write(m_dir.Path("run.pld"));
            ASSERT_TRUE(ConvertToWpr(m_dir.Path("run.pld"), Reference()));
            Open(m_dir.Path("run.pld"));
            outcome = PldToNc(m_reader, m_dir.Path("run.nc"), options);
        } else {
            synth::SCorvaneOptions recording;
            recording.nProbes = 4;
            recording.nSamples = 500;
            recording.nMissingProbe = 1;
            recording.nMissingEvery = 7;
            synth::CCorvaneGenerator(recording).Write(m_dir.Path("run.mrv"));
            ASSERT_FALSE(MrvToAdv(m_ui, m_dir.Path("run.mrv"), Reference(), {}).IsFailed());
            outcome = MrvToNc(m_ui, m_dir.Path("run.mrv"), m_dir.Path("run.nc"), options);
        }
        ASSERT_FALSE(outcome.IsFailed()) << outcome.messages.front().strText;
    }

    // The legacy layout's file: .wpr for a Pelora recording, .adv for the others.
    std::string Reference() const {
        return m_dir.Path(m_bPelora ? "reference.wpr" : "reference.adv");
    }
    bool m_bPelora = false;

    SProcessResult RunScript(const std::string& strScript, const std::vector<std::string>& args) {
        std::vector<std::string> arguments = {std::string(SULVAN_NETCDF_TEST_DIR) + "/" + strScript,
                                              m_dir.Path("run.nc")};
        arguments.insert(arguments.end(), args.begin(), args.end());
        return RunProcess(SULVAN_PYTHON, arguments, m_dir.Path());
    }
};

class NcXarray : public NcUserView, public ::testing::WithParamInterface<EKind> {};

TEST_P(NcXarray, DecodesTimesAndVelocities) {
    Convert(GetParam());
    const SProcessResult result = RunScript("xarray_check.py", {Reference(), KindName(GetParam())});
    if (result.nStatus == kModuleMissing) {
        GTEST_SKIP() << "python3-xarray is not installed (scripts/install-deps installs it)";
    }
    EXPECT_EQ(result.nStatus, 0) << result.strErr;
    EXPECT_EQ(result.strOut, "ok\n");
}

INSTANTIATE_TEST_SUITE_P(Kinds, NcXarray,
                         ::testing::Values(EKind::Tarsis, EKind::Pelora, EKind::Corvane),
                         [](const auto& info) { return std::string(KindName(info.param)); });

struct SRulesCase {
    const char* pName;
    EKind kind;
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
    Convert(GetParam().kind, options);
    const SProcessResult result =
        RunScript("cf_acdd_rules.py", {TestDataPath("netcdf/cf-standard-names.tsv")});
    if (result.nStatus == kModuleMissing) {
        GTEST_SKIP() << "python3-netcdf4 is not installed (scripts/install-deps installs it)";
    }
    ASSERT_EQ(result.nStatus, 0) << result.strErr;
    const std::span<const std::uint8_t> findings(
        reinterpret_cast<const std::uint8_t*>(result.strOut.data()), result.strOut.size());
    EXPECT_TRUE(MatchesGolden(findings, GetParam().pFindings)) << result.strOut;
}

INSTANTIATE_TEST_SUITE_P(
    Files, NcRules,
    ::testing::Values(
        SRulesCase{"WithMetadata", EKind::Tarsis, "netcdf/full-metadata.json",
                   "netcdf/rules-with-metadata.txt"},
        SRulesCase{"WithoutMetadata", EKind::Tarsis, nullptr, "netcdf/rules-without-metadata.txt"},
        SRulesCase{"Pelora", EKind::Pelora, "netcdf/full-metadata.json", "netcdf/rules-pelora.txt"},
        SRulesCase{"CorvaneProbePositions", EKind::Corvane, "netcdf/probe-metadata.json",
                   "netcdf/rules-corvane.txt"}),
    [](const auto& info) { return std::string(info.param.pName); });

}  // namespace
}  // namespace sulvan
