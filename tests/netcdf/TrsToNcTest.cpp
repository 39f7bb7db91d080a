#include "netcdf/TrsToNc.hpp"

#include <sys/mount.h>

#include <algorithm>
#include <filesystem>

#include "CTarsisGenerator.hpp"
#include "NcTestSupport.hpp"
#include "RecordBuilder.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// ---- The same recordings converted to .adv and to .nc ----------------------------------

struct SRecordingCase {
    const char* pName;
    synth::STarsisOptions options;
    bool bChecksumControl = true;
};

synth::STarsisOptions Recording(bool bBurst, bool bCompass, std::uint64_t nGarbageEvery,
                                std::uint64_t nBadChecksumEvery) {
    synth::STarsisOptions options;
    options.nSamples = 3000;
    options.bBurst = bBurst;
    options.nBurstSamples = 256;
    options.bCompass = bCompass;
    options.nGarbageEvery = nGarbageEvery;
    options.nBadChecksumEvery = nBadChecksumEvery;
    options.nSeed = 5;
    return options;
}

synth::STarsisOptions OneBeam() {
    synth::STarsisOptions options = Recording(false, false, 0, 0);
    options.nBeams = 1;
    return options;
}

class TrsToNcAgainstAdv : public NcTest, public ::testing::WithParamInterface<SRecordingCase> {};

TEST_P(TrsToNcAgainstAdv, HoldsEverySampleTheAdvHolds) {
    const SRecordingCase& recording = GetParam();
    const std::string strInput = m_dir.Path("run.trs");
    synth::CTarsisGenerator(recording.options).Write(strInput);
    ASSERT_TRUE(ConvertToAdv(strInput, m_dir.Path("run.adv"), recording.bChecksumControl));
    Open(strInput, recording.bChecksumControl);
    std::vector<int> progress;
    SNcOptions options;
    options.progress = [&](int nPercent) { progress.push_back(nPercent); };
    const SFileOutcome outcome = ConvertToNc(m_dir.Path("run.nc"), options);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()) &&
                std::adjacent_find(progress.begin(), progress.end()) == progress.end());
    EXPECT_EQ(progress.back(), 100);
    ASSERT_FALSE(outcome.IsFailed()) << outcome.messages.front().strText;

    const std::vector<SAdvRecord> adv = ReadAdvRecords(m_dir.Path("run.adv"));
    const CNcRead nc(m_dir.Path("run.nc"));
    ASSERT_EQ(nc.Length("time"), adv.size());
    EXPECT_EQ(outcome.written.front().nDataRecords, adv.size());
    const bool bEarth = recording.options.bCompass;
    const char* components[3][2] = {{"x_velocity", "east_velocity"},
                                    {"y_velocity", "north_velocity"},
                                    {"z_velocity", "up_velocity"}};
    const std::vector<std::int32_t> amplitude = nc.Ints("amplitude");
    const std::vector<std::int32_t> correlation = nc.Ints("correlation");
    const std::vector<std::int32_t> heading = nc.Ints("heading");
    const std::vector<std::int32_t> pitch = nc.Ints("pitch");
    const std::vector<std::int32_t> roll = nc.Ints("roll");
    const std::vector<std::int32_t> temperature = nc.Ints("temperature");
    // The amplitudes of one beam lie along the beam dimension all the same.
    for (std::size_t b = 0; b < static_cast<std::size_t>(recording.options.nBeams); ++b) {
        const std::string strVelocity = components[b][bEarth ? 1 : 0];
        const std::vector<std::int32_t> counts = nc.Ints(strVelocity);
        const double dScale = nc.Number(strVelocity, "scale_factor");
        for (std::size_t i = 0; i < adv.size(); ++i) {
            ASSERT_EQ(static_cast<float>(counts[i] * dScale), adv[i].velocity[b])
                << strVelocity << " sample " << i;
            // Unsigned counts: the C library reads the signed type they are kept in.
            ASSERT_EQ(amplitude[b * adv.size() + i] & 0xFF, adv[i].amplitude[b]) << i;
            ASSERT_EQ(correlation[b * adv.size() + i] & 0xFF, adv[i].correlation[b]) << i;
        }
    }
    // Each sample carries the latest system sample before it: the system samples, in order.
    std::size_t s = 0;
    for (std::size_t i = 0; bEarth && i < adv.size(); ++i) {
        const std::array<std::int32_t, 4> attitude = {adv[i].attitude[0], adv[i].attitude[1],
                                                      adv[i].attitude[2], adv[i].attitude[3]};
        while (s < heading.size() && std::array<std::int32_t, 4>{heading[s], pitch[s], roll[s],
                                                                 temperature[s] / 10} != attitude) {
            ++s;
        }
        ASSERT_LT(s, heading.size()) << "no system sample as sample " << i << " carries";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, TrsToNcAgainstAdv,
    ::testing::Values(SRecordingCase{"Continuous", Recording(false, false, 0, 0)},
                      SRecordingCase{"BurstsWithCompass", Recording(true, true, 0, 0)},
                      SRecordingCase{"Damaged", Recording(false, true, 37, 53)},
                      SRecordingCase{"ChecksumControlOff", Recording(true, true, 0, 41), false},
                      SRecordingCase{"OneBeam", OneBeam()}),
    [](const auto& info) { return std::string(info.param.pName); });

// ---- Coordinate systems -----------------------------------------------------------------

struct SCoordinateCase {
    std::int16_t nCode;
    std::vector<std::string> velocities;
    const char* pStandardName;  // of the first velocity variable; "" for none
    const char* pSystemName;
};

class TrsToNcCoordinates : public NcTest, public ::testing::WithParamInterface<SCoordinateCase> {};

// A two-beam recording: the third component has no beam to come from.
TEST_P(TrsToNcCoordinates, NameTheVelocitiesAfterTheCoordinateSystem) {
    SUserOptions user;
    user.nBeams = 2;
    user.nCoordinateSystem = GetParam().nCode;
    SHeadOptions head;
    head.nBeams = 2;
    SVelocitySample sample{{150, -250}, {101, 102}, {91, 92}};
    OpenImage(CRecordingBuilder()
                  .Add(StandardConfiguration("TRS 1001", "1.08", head, user))
                  .Add(SystemSample())
                  .Add(VelocitySample(sample))
                  .Image(),
              "run.trs");
    ASSERT_FALSE(ConvertToNc(m_dir.Path("run.nc")).IsFailed());
    const CNcRead nc(m_dir.Path("run.nc"));
    std::vector<std::int32_t> counts;
    for (const std::string& strName : GetParam().velocities) {
        const std::vector<std::int32_t> values = nc.Ints(strName);
        counts.insert(counts.end(), values.begin(), values.end());
    }
    std::vector<std::int32_t> expected = {150, -250};
    if (GetParam().velocities.size() == 3) {
        expected.push_back(-32768);
    }
    EXPECT_EQ(counts, expected);
    const std::string strFirst = GetParam().velocities.front();
    EXPECT_EQ(*GetParam().pStandardName == '\0' ? "" : nc.Text(strFirst, "standard_name"),
              GetParam().pStandardName);
    EXPECT_EQ(nc.Text("", "coordinate_system"), GetParam().pSystemName);
    EXPECT_EQ(nc.Ints("amplitude"), (std::vector<std::int32_t>{101, 102}));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TrsToNcCoordinates,
    ::testing::Values(
        SCoordinateCase{0,
                        {"east_velocity", "north_velocity", "up_velocity"},
                        "eastward_sea_water_velocity",
                        "earth"},
        SCoordinateCase{1, {"x_velocity", "y_velocity", "z_velocity"}, "", "instrument"},
        SCoordinateCase{
            2, {"beam_velocity"}, "radial_sea_water_velocity_away_from_instrument", "beam"},
        SCoordinateCase{7, {"beam_velocity"}, "", "unknown (7)"}),
    [](const auto& info) { return "Code" + std::to_string(info.param.nCode); });

// ---- Times -------------------------------------------------------------------------------

// 4 Hz, so that sample times are quarters of a second.
Bytes Configuration(std::uint16_t nBurstSamples) {
    SUserOptions user;
    user.nRateDivisor = 128;
    user.nBurstSamples = nBurstSamples;
    return StandardConfiguration("TRS 1001", "1.08", {}, user);
}

CRecordBuilder System(int nSecond) {
    SSystemSample sample;
    sample.clock = MakeClock(2008, 1, 1, 12, 0, nSecond);
    return SystemSample(sample);
}

constexpr ClockBytes kMonth13 = {0x00, 0x00, 0x01, 0x12, 0x08, 0x13};

struct SExpectedTimes {
    std::vector<double> time;
    std::vector<std::int32_t> flags;
    std::vector<std::int32_t> burst;
    std::vector<std::int32_t> sampleInBurst;
};

void ExpectTimes(const CNcRead& nc, const SExpectedTimes& expected) {
    EXPECT_EQ(nc.Text("time", "units"), "seconds since 2008-01-01T12:00:00");
    EXPECT_EQ(nc.Doubles("time"), expected.time);
    EXPECT_EQ(nc.Ints("quality_flag"), expected.flags);
    EXPECT_EQ(nc.Ints("burst"), expected.burst);
    EXPECT_EQ(nc.Ints("sample_in_burst"), expected.sampleInBurst);
    EXPECT_EQ(nc.Number("", "damage_samples_before_first_time"), 1.0);
}

using TrsToNcTimes = NcTest;

TEST_F(TrsToNcTimes, ContinuousSamplesCountFromTheLatestSystemSample) {
    OpenImage(CRecordingBuilder()
                  .Add(Configuration(0))
                  .Add(VelocitySample())
                  .Add(System(0))
                  .Add(VelocitySample())
                  .Add(VelocitySample())
                  .Add(VelocitySample())
                  .Garbage(8)
                  .Add(VelocitySample())
                  .Add(System(0))  // the clock steps back
                  .Add(VelocitySample())
                  .Add(SystemSample(SSystemSample{.clock = kMonth13}))  // no anchor
                  .Add(VelocitySample())
                  .Add(System(5))
                  .Add(VelocitySample())
                  .Image(),
              "run.trs");
    ASSERT_FALSE(ConvertToNc(m_dir.Path("run.nc")).IsFailed());
    const CNcRead nc(m_dir.Path("run.nc"));
    ExpectTimes(nc, {{0.0, 0.25, 0.5, 0.75, 1.0, 1.25, 5.0},
                     {0, 0, 0, 2, 1, 1, 0},
                     {0, 0, 0, 0, 0, 0, 0},
                     {0, 1, 2, 3, 0, 1, 0}});
    // System samples: one second apart at least; the damage lay before the second one.
    EXPECT_EQ(nc.Doubles("time_sys"), (std::vector<double>{0.0, 1.0, 2.0, 5.0}));
    EXPECT_EQ(nc.Ints("quality_flag_sys"), (std::vector<std::int32_t>{0, 3, 1, 0}));
    EXPECT_EQ(nc.Text("", "time_coverage_end"), "2008-01-01T12:00:05");
    EXPECT_EQ(nc.Number("", "damage_bytes_skipped"), 8.0);
}

// A burst whose header is lost to damage is timed from its system sample, not as the
// continuation of the burst before (a whole burst interval early).
TEST_F(TrsToNcTimes, BurstSamplesCountFromTheirHeader) {
    const ClockBytes noon = MakeClock(2008, 1, 1, 12, 0, 0);
    OpenImage(CRecordingBuilder()
                  .Add(Configuration(2))
                  .Add(VelocitySample())
                  .Add(VelocityHeader(noon, 2))
                  .Add(System(0))
                  .Add(VelocitySample())
                  .Add(VelocitySample())
                  .Add(VelocityHeader(kMonth13, 2))
                  .Add(VelocitySample())
                  .Add(VelocitySample())
                  .Add(VelocityHeader(noon, 2))  // the clock steps back
                  .Add(VelocitySample())
                  .Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 10, 0), 2))
                  .Add(VelocitySample())
                  .Add(VelocitySample())
                  .Add(VelocityHeader(MakeClock(2008, 1, 1, 12, 20, 0), 2).CorruptChecksum())
                  .Add(SystemSample(SSystemSample{.clock = MakeClock(2008, 1, 1, 12, 20, 0)}))
                  .Add(VelocitySample())
                  .Image(),
              "run.trs");
    ASSERT_FALSE(ConvertToNc(m_dir.Path("run.nc")).IsFailed());
    const CNcRead nc(m_dir.Path("run.nc"));
    ExpectTimes(nc, {{0.0, 0.25, 0.5, 0.75, 1.0, 600.0, 600.25, 1200.0},
                     {0, 0, 1, 1, 1, 0, 0, 2},
                     {1, 1, 2, 2, 3, 4, 4, 5},
                     {0, 1, 0, 1, 0, 0, 1, 0}});
    EXPECT_EQ(nc.Text("", "time_coverage_end"), "2008-01-01T12:20:00");
    EXPECT_EQ(nc.Text("", "time_coverage_duration"), "PT1200S");
    EXPECT_EQ(nc.Text("", "time_coverage_resolution"), "PT0.25S");
}

// ---- Bad input and faults ----------------------------------------------------------------

Bytes ShortRecording() {
    return CRecordingBuilder()
        .Add(Configuration(0))
        .Add(System(0))
        .Add(VelocitySample())
        .Add(VelocitySample())
        .Image();
}

using TrsToNcFaults = NcTest;

TEST_F(TrsToNcFaults, ARecordingCutInARecordConvertsWhatIsIntact) {
    const Bytes image =
        CRecordingBuilder().Add(ShortRecording()).Add(VelocitySample()).TruncateBy(5).Image();
    OpenImage(image, "run.trs");
    const SFileOutcome outcome = ConvertToNc(m_dir.Path("run.nc"));
    ASSERT_EQ(outcome.fate, EFileFate::Converted);
    EXPECT_EQ(outcome.written.front().nDataRecords, 2u);
    EXPECT_EQ(CNcRead(m_dir.Path("run.nc")).Number("", "damage_bytes_skipped"), 19.0);
    EXPECT_EQ(ReadFileBytes(m_dir.Path("run.trs")), image);
}

TEST_F(TrsToNcFaults, AnOutputThatCannotBeCreatedIsNamedWithItsReason) {
    ASSERT_TRUE(std::filesystem::create_directory(m_dir.Path("file")) &&
                std::filesystem::remove(m_dir.Path("file")));
    WriteFileBytes(m_dir.Path("file"), Bytes{1});
    const std::pair<const char*, const char*> cases[] = {
        {"missing/run.nc", "No such file or directory"},
        {"file/run.nc", "Not a directory"},
    };
    const Bytes image = ShortRecording();
    for (const auto& [pOutput, pReason] : cases) {
        OpenImage(image, "run.trs");
        const std::string strOutput = m_dir.Path(pOutput);
        const SFileOutcome outcome = ConvertToNc(strOutput);
        ASSERT_TRUE(outcome.IsFailed()) << pOutput;
        ASSERT_EQ(outcome.messages.size(), 1u);
        EXPECT_EQ(outcome.messages[0].strText, strOutput + "\r" + pReason);
        EXPECT_EQ(outcome.messages[0].strReason, strOutput + ": " + pReason);
        EXPECT_TRUE(outcome.incomplete.empty() && outcome.written.empty());
        EXPECT_FALSE(std::filesystem::exists(strOutput));
        EXPECT_EQ(ReadFileBytes(m_dir.Path("run.trs")), image);
    }
}

TEST_F(TrsToNcFaults, AFullDiskLeavesTheOutputClosedAndIncomplete) {
    const std::string strDisk = m_dir.Path("disk");
    std::filesystem::create_directory(strDisk);
    if (::mount("tmpfs", strDisk.c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "a small file system cannot be mounted here (needs root)";
    }
    synth::STarsisOptions options;
    options.nSamples = 100000;
    const std::string strInput = m_dir.Path("run.trs");
    synth::CTarsisGenerator(options).Write(strInput);
    const Bytes input = ReadFileBytes(strInput);
    Open(strInput);
    const std::string strOutput = strDisk + "/run.nc";
    SNcOptions ncOptions;
    ncOptions.nDeflateLevel = 0;
    const SFileOutcome outcome = ConvertToNc(strOutput, ncOptions);
    const bool bOpenAfterwards = std::filesystem::exists(strOutput);
    ::umount(strDisk.c_str());
    ASSERT_TRUE(outcome.IsFailed());
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_TRUE(outcome.messages[0].strText.starts_with(strOutput + "\r"));
    EXPECT_TRUE(outcome.messages[0].strText.ends_with("\r\rThe output file is incomplete."));
    EXPECT_NE(outcome.messages[0].strReason.find("No space left on device"), std::string::npos)
        << outcome.messages[0].strReason;
    EXPECT_EQ(outcome.incomplete, std::vector<std::string>{strOutput});
    EXPECT_TRUE(bOpenAfterwards);
    EXPECT_EQ(ReadFileBytes(strInput), input);
}

TEST_F(TrsToNcFaults, AnOutputNamingTheInputIsRefused) {
    const Bytes image = ShortRecording();
    const std::string strInput = m_dir.Write("run.trs", image);
    const SFileOutcome outcome = ConvertFileToNc(strInput, strInput);
    EXPECT_TRUE(outcome.IsFailed());
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].strReason,
              "the output " + strInput + " would replace the input file");
    EXPECT_EQ(ReadFileBytes(strInput), image);
}

// No velocity sample with a time: the file holds its variables and no data record.
TEST_F(TrsToNcFaults, ARecordingWithoutTimedSamplesIsNotConverted) {
    const std::string strInput = m_dir.Write(
        "run.trs", CRecordingBuilder().Add(Configuration(0)).Add(VelocitySample()).Image());
    const SFileOutcome outcome = ConvertFileToNc(strInput, m_dir.Path("run.nc"));
    ASSERT_TRUE(outcome.IsFailed());
    EXPECT_EQ(outcome.messages.back().strReason, "no data records found");
    EXPECT_TRUE(outcome.written.empty());
    EXPECT_EQ(outcome.incomplete, std::vector<std::string>{m_dir.Path("run.nc")});
}

}  // namespace
}  // namespace sulvan
