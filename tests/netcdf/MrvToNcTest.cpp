#include "netcdf/MrvToNc.hpp"

#include <algorithm>
#include <filesystem>
#include <regex>

#include "CCorvaneGenerator.hpp"
#include "CorvaneBuilder.hpp"
#include "NcTestSupport.hpp"
#include "convert/MrvToAdv.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

constexpr std::int32_t kMissing = 4;
constexpr std::size_t kAdvProbes = 8;

// ---- The same recordings converted to .adv and to .nc ----------------------------------

struct SCorvaneCase {
    const char* pName;
    synth::SCorvaneOptions options;
};

synth::SCorvaneOptions Recording(int nProbes, void (*change)(synth::SCorvaneOptions&)) {
    synth::SCorvaneOptions options;
    options.nProbes = nProbes;
    options.nSamples = 600;
    options.nSkipRecordsEvery = 37;
    options.nTimeMarksEvery = 20;
    change(options);
    return options;
}

// The padded slots of each probe the .adv conversion's summary counts.
std::vector<std::uint32_t> MissingInSummary(const std::string& strSummary, std::size_t nProbes) {
    std::vector<std::uint32_t> missing(nProbes, 0);
    const std::regex line("Missing probe (\\d+):\t(\\d+)");
    for (auto it = std::sregex_iterator(strSummary.begin(), strSummary.end(), line);
         it != std::sregex_iterator(); ++it) {
        missing[std::stoul((*it)[1])] = static_cast<std::uint32_t>(std::stoul((*it)[2]));
    }
    return missing;
}

bool SameSlot(const SAdvRecord& a, const SAdvRecord& b) {
    return a.velocity == b.velocity && a.amplitude == b.amplitude && a.correlation == b.correlation;
}

class MrvToNcAgainstAdv : public NcTest, public ::testing::WithParamInterface<SCorvaneCase> {};

// Every slot the .adv holds a probe's own sample in holds the same in the .nc; the .adv pads
// the others with an earlier sample of the probe, and the .nc never misses a sample the .adv has.
TEST_P(MrvToNcAgainstAdv, HoldsEverySampleTheAdvHolds) {
    const synth::SCorvaneOptions& options = GetParam().options;
    const auto nProbes = static_cast<std::size_t>(options.nProbes);
    const std::size_t nAdvProbes = std::min(nProbes, kAdvProbes);
    const std::string strInput = m_dir.Path("run.mrv");
    synth::CCorvaneGenerator(options).Write(strInput);
    ASSERT_FALSE(MrvToAdv(m_ui, strInput, m_dir.Path("run.adv"), {}).IsFailed());
    const std::vector<std::uint32_t> advMissing =
        MissingInSummary(m_ui.Messages().back(), nAdvProbes);
    const SFileOutcome outcome = MrvToNc(m_ui, strInput, m_dir.Path("run.nc"), {});
    ASSERT_FALSE(outcome.IsFailed()) << outcome.messages.front().strText;

    const std::vector<SAdvRecord> adv = ReadCorvaneAdvRecords(m_dir.Path("run.adv"), nAdvProbes);
    const CNcRead nc(m_dir.Path("run.nc"));
    const std::size_t nRows = adv.size() / nAdvProbes;
    ASSERT_EQ(nc.Length("probe"), nProbes);
    ASSERT_GE(nc.Length("sample"), nRows);
    EXPECT_EQ(outcome.written.front().nDataRecords, nc.Length("sample"));
    const std::vector<std::int32_t> velocity = nc.Ints("velocity");
    const std::vector<std::int32_t> amplitude = nc.Ints("amplitude");
    const std::vector<std::int32_t> correlation = nc.Ints("correlation");
    const std::vector<std::int32_t> flags = nc.Ints("quality_flag");
    const double dScale = nc.Number("velocity", "scale_factor");
    for (std::size_t p = 0; p < nProbes; ++p) {
        std::uint32_t nDiffering = 0;
        std::uint32_t nMissing = 0;
        // The probe's samples in the .nc so far: what the .adv may pad with.
        std::vector<SAdvRecord> earlier = {SAdvRecord{}};
        for (std::size_t i = 0; i < nRows; ++i) {
            const std::size_t nSlot = i * nProbes + p;
            const bool bMissing = (flags[nSlot] & kMissing) != 0;
            nMissing += bMissing ? 1 : 0;
            if (p >= nAdvProbes) {
                continue;
            }
            SAdvRecord slot;
            for (std::size_t b = 0; b < 3; ++b) {
                slot.velocity[b] = static_cast<float>(velocity[3 * nSlot + b] * dScale);
                slot.amplitude[b] = static_cast<std::uint8_t>(amplitude[3 * nSlot + b]);
                slot.correlation[b] = static_cast<std::uint8_t>(correlation[3 * nSlot + b]);
            }
            const SAdvRecord& advSlot = adv[i * nAdvProbes + p];
            if (!bMissing && SameSlot(slot, advSlot)) {
                earlier.push_back(slot);
                continue;
            }
            ++nDiffering;
            ASSERT_TRUE(std::any_of(earlier.begin(), earlier.end(),
                                    [&](const SAdvRecord& a) { return SameSlot(a, advSlot); }))
                << "probe " << p << " sample " << i + 1 << " differs and is no padding";
            if (!bMissing) {
                earlier.push_back(slot);
            }
        }
        if (p < nAdvProbes) {
            EXPECT_LE(nDiffering, advMissing[p]) << "probe " << p;
        }
        EXPECT_LE(nMissing, p < nAdvProbes ? advMissing[p] : 0u) << "probe " << p;
    }
    // The sample's time is its probes' earliest stamp, and increases.
    const std::vector<double> time = nc.Doubles("time");
    const std::vector<double> probeTime = nc.Doubles("probe_time");
    for (std::size_t i = 0; i < time.size(); ++i) {
        const auto first = probeTime.begin() + static_cast<std::ptrdiff_t>(i * nProbes);
        ASSERT_TRUE(i == 0 || time[i] > time[i - 1]) << i;
        ASSERT_TRUE(time[i] ==
                        *std::min_element(first, first + static_cast<std::ptrdiff_t>(nProbes)) ||
                    (flags[i * nProbes] & 1) != 0)
            << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, MrvToNcAgainstAdv,
    ::testing::Values(SCorvaneCase{"FourProbes", Recording(4, [](auto&) {})},
                      SCorvaneCase{"LaggingProbe", Recording(4,
                                                             [](auto& o) {
                                                                 o.nLaggingProbe = 2;
                                                                 o.nLag = 50;
                                                             })},
                      SCorvaneCase{"MissingProbe", Recording(3,
                                                             [](auto& o) {
                                                                 o.nMissingProbe = 1;
                                                                 o.nMissingEvery = 7;
                                                             })},
                      SCorvaneCase{"TenProbes", Recording(10, [](auto&) {})},
                      SCorvaneCase{"LateStamps", Recording(2, [](auto& o) { o.nLateStamps = 3; })},
                      SCorvaneCase{"DamagedChunk",
                                   Recording(3, [](auto& o) { o.nDamagedChunkAt = 700; })}),
    [](const auto& info) { return std::string(info.param.pName); });

// ---- The window ----------------------------------------------------------------------------

Bytes Chunk(std::uint16_t nProbe, std::uint64_t nStamp, std::int16_t nValue) {
    SProbeSample sample;
    sample.velocities = {nValue, 0, 0};
    sample.amplitudes = {1, 2, 3};
    sample.correlations = {4, 5, 6};
    return CorvaneChunk(nProbe, nStamp, ProbeVelocityRecord(sample));
}

using MrvToNcWindow = NcTest;

// A hundred probes take short blocks (2048 samples); probe 1 delivers all its samples after
// probe 0's last: those of the first block come later than the window and are left out.
TEST_F(MrvToNcWindow, SamplesLaterThanTheWindowAreCountedAndMissing) {
    constexpr std::size_t kProbes = 100;
    constexpr int kSamples = 6000;
    constexpr std::size_t kBlock = 2048;
    std::vector<std::string> serials;
    for (std::size_t p = 0; p < kProbes; ++p) {
        serials.push_back("S" + std::to_string(p));
    }
    const std::uint64_t nStart = FileTimeOf(2010, 5, 17, 13, 45, 30, 250);
    Bytes image = CorvaneHeader(MiraveloXml(serials), nStart);
    for (std::uint16_t nProbe : {0, 1}) {
        for (int k = 1; k <= kSamples; ++k) {
            const Bytes chunk = Chunk(nProbe, nStart + 625000u * static_cast<unsigned>(k),
                                      static_cast<std::int16_t>(nProbe * 10000 + k));
            image.insert(image.end(), chunk.begin(), chunk.end());
        }
    }
    const std::string strInput = m_dir.Write("run.mrv", image);
    ASSERT_FALSE(MrvToNc(m_ui, strInput, m_dir.Path("run.nc"), {}).IsFailed());
    const CNcRead nc(m_dir.Path("run.nc"));
    ASSERT_EQ(nc.Length("sample"), static_cast<std::size_t>(kSamples));
    EXPECT_EQ(nc.Number("", "damage_samples_after_window"), static_cast<double>(kBlock));
    const std::vector<std::int32_t> velocity = nc.Ints("velocity");
    for (std::size_t i : {std::size_t{0}, kBlock - 1, kBlock, std::size_t{kSamples - 1}}) {
        EXPECT_EQ(velocity[3 * (i * kProbes)], static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(velocity[3 * (i * kProbes + 1)],
                  i < kBlock ? -32768 : 10001 + static_cast<std::int32_t>(i));
    }
    EXPECT_EQ(nc.Text("time", "units"), "seconds since 2010-05-17T13:45:30");
    EXPECT_EQ(nc.Doubles("time")[0], 0.3125);
    const std::vector<std::int32_t> flags = nc.Ints("quality_flag");
    EXPECT_EQ(std::count(flags.begin(), flags.end(), kMissing),
              static_cast<std::ptrdiff_t>(kSamples * kProbes - 2 * kSamples + kBlock));
}

// ---- Refusals and positions -----------------------------------------------------------------

struct SMetadataCase {
    const char* pName;
    const char* pInput;     // run.mrv, or run.trs for a Tarsis recording
    const char* pMetadata;  // sulvan-metadata.json
    const char* pReason;    // empty: converted
};

class MrvToNcMetadata : public NcTest, public ::testing::WithParamInterface<SMetadataCase> {};

TEST_P(MrvToNcMetadata, PositionsPerProbeBySerialNumber) {
    const SMetadataCase& c = GetParam();
    const std::string strInput = m_dir.Path(c.pInput);
    synth::SCorvaneOptions options;
    options.nProbes = 3;
    options.nSamples = 20;
    synth::CCorvaneGenerator(options).Write(strInput);
    const std::string strMetadata = m_dir.Write(
        "sulvan-metadata.json", std::span(reinterpret_cast<const std::uint8_t*>(c.pMetadata),
                                          std::char_traits<char>::length(c.pMetadata)));
    const SFileOutcome outcome = ConvertFileToNc(strInput, m_dir.Path("run.nc"));
    if (*c.pReason != '\0') {
        ASSERT_TRUE(outcome.IsFailed());
        EXPECT_EQ(outcome.messages.front().strReason, strMetadata + ": " + c.pReason);
        EXPECT_FALSE(std::filesystem::exists(m_dir.Path("run.nc")));
        return;
    }
    ASSERT_FALSE(outcome.IsFailed()) << outcome.messages.front().strText;
    const CNcRead nc(m_dir.Path("run.nc"));
    const double dFill = 9.969209968386869e36;
    EXPECT_EQ(nc.Doubles("latitude"), (std::vector<double>{54.5, dFill, 54.25}));
    EXPECT_EQ(nc.Doubles("depth"), (std::vector<double>{dFill, dFill, 12.0}));
    EXPECT_EQ(nc.Text("", "geospatial_bounds"), "MULTIPOINT ((54.5 10.5), (54.25 10.25))");
    EXPECT_EQ(nc.Number("", "geospatial_lat_min"), 54.25);
}

constexpr const char* kPositions =
    R"({"probes": {"MRV-100123": {"latitude": 54.5, "longitude": 10.5},
                   "MRV-100125": {"latitude": 54.25, "longitude": 10.25, "depth": 12}}})";

INSTANTIATE_TEST_SUITE_P(
    Files, MrvToNcMetadata,
    ::testing::Values(
        SMetadataCase{"ByProbe", "run.mrv", kPositions, ""},
        SMetadataCase{"UnknownSerial", "run.mrv",
                      R"({"probes": {"MRV-1": {"latitude": 54.5, "longitude": 10.5}}})",
                      "the metadata file gives a position for the probe \"MRV-1\", which the "
                      "recording does not hold"},
        SMetadataCase{"NotCorvane", "run.trs", kPositions,
                      "the key \"probes\" gives positions by probe serial number, which only a "
                      "Corvane recording (.mrv) has"},
        SMetadataCase{
            "Twice", "run.mrv",
            R"({"latitude": 1, "longitude": 2, "probes": {"S": {"latitude": 1, "longitude": 2}}})",
            "the position is given twice: once for the station (latitude, longitude, depth) and "
            "once per probe (probes)"}),
    [](const auto& info) { return std::string(info.param.pName); });

TEST_F(MrvToNcWindow, ARecordingWithoutProbesIsRefusedBeforeAnythingIsWritten) {
    Bytes image = CorvaneHeader(MiraveloXml({}), FileTimeOf(2010, 1, 1, 0, 0, 0));
    const Bytes chunk = Chunk(0, FileTimeOf(2010, 1, 1, 0, 0, 1), 1);
    image.insert(image.end(), chunk.begin(), chunk.end());
    const std::string strInput = m_dir.Write("run.mrv", image);
    const SFileOutcome outcome = MrvToNc(m_ui, strInput, m_dir.Path("run.nc"), {});
    ASSERT_TRUE(outcome.IsFailed());
    EXPECT_EQ(outcome.messages.front().strText, strInput + "\r\r" + kNoProbes);
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path("run.nc")));
}

}  // namespace
}  // namespace sulvan
