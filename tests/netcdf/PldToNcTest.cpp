#include "netcdf/PldToNc.hpp"

#include "CPeloraGenerator.hpp"
#include "NcTestSupport.hpp"
#include "RecordBuilder.hpp"
#include "config/ConfigFields.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

// ---- The same recordings converted to .wpr and to .nc ----------------------------------

struct SPeloraCase {
    const char* pName;
    synth::SPeloraOptions options;
};

synth::SPeloraOptions Recording(bool bWaveMode, std::uint64_t nGarbageEvery,
                                std::uint64_t nBadChecksumEvery) {
    synth::SPeloraOptions options;
    options.nSamples = 5000;
    options.bWaveMode = bWaveMode;
    options.nExtendedEvery = 2;
    options.nGarbageEvery = nGarbageEvery;
    options.nBadChecksumEvery = nBadChecksumEvery;
    options.nSeed = 3;
    return options;
}

class PldToNcAgainstWpr : public NcTest, public ::testing::WithParamInterface<SPeloraCase> {};

// Counts as the C library reads them from their signed types.
std::uint32_t Unsigned16(std::int32_t nValue) {
    return static_cast<std::uint32_t>(nValue) & 0xFFFFu;
}

TEST_P(PldToNcAgainstWpr, HoldsEveryCurrentRecordAndWaveSampleTheWprHolds) {
    const std::string strInput = m_dir.Path("run.pld");
    synth::CPeloraGenerator(GetParam().options).Write(strInput);
    ASSERT_TRUE(ConvertToWpr(strInput, m_dir.Path("run.wpr")));
    Open(strInput);
    const SFileOutcome outcome = PldToNc(m_reader, m_dir.Path("run.nc"), {});
    ASSERT_FALSE(outcome.IsFailed()) << outcome.messages.front().strText;

    const SWprRecords wpr = ReadWprRecords(m_dir.Path("run.wpr"));
    const CNcRead nc(m_dir.Path("run.nc"));
    ASSERT_GT(wpr.waves.size(), 1000u);
    ASSERT_EQ(nc.Length("time"), wpr.profiles.size());
    ASSERT_EQ(nc.Length("time_wave"), wpr.waves.size());
    EXPECT_EQ(outcome.written.front().nDataRecords, wpr.profiles.size() + wpr.waves.size());
    const char* names[] = {"battery", "sound_speed", "heading", "pitch", "roll", "temperature"};
    for (const auto& [pSuffix, samples] :
         {std::pair{"", &wpr.profiles}, std::pair{"_wave", &wpr.waves}}) {
        const std::string strSuffix = pSuffix;
        const std::vector<std::int32_t> amplitude = nc.Ints("amplitude" + strSuffix);
        const std::vector<std::int32_t> pressure = nc.Ints("pressure" + strSuffix);
        const std::vector<std::int32_t> analog = nc.Ints("analog_input_1" + strSuffix);
        const std::vector<std::int32_t> burst =
            strSuffix.empty() ? pressure : nc.Ints("burst_wave");
        const std::size_t nSamples = samples->size();
        for (std::size_t b = 0; b < 3; ++b) {
            const std::string strComponent =
                std::string(1, static_cast<char>('x' + b)) + "_velocity" + strSuffix;
            const std::vector<std::int32_t> velocity = nc.Ints(strComponent);
            for (std::size_t i = 0; i < nSamples; ++i) {
                ASSERT_EQ(velocity[i], (*samples)[i].velocity[b]) << strComponent << " " << i;
                ASSERT_EQ(amplitude[b * nSamples + i] & 0xFF, (*samples)[i].amplitude[b]) << i;
            }
        }
        for (std::size_t i = 0; i < nSamples; ++i) {
            const SWprSample& sample = (*samples)[i];
            // A wave sample of the .wpr keeps the pressure's low word only.
            ASSERT_EQ(static_cast<std::uint32_t>(pressure[i]) & (strSuffix.empty() ? ~0u : 0xFFFFu),
                      sample.nPressure)
                << strSuffix << " " << i;
            ASSERT_EQ(Unsigned16(analog[i]), sample.nAnalog1) << i;
            ASSERT_EQ(strSuffix.empty() ? 0 : burst[i], sample.nBurst) << i;
        }
        for (std::size_t k = 0; strSuffix.empty() && k < std::size(names); ++k) {
            const std::vector<std::int32_t> state = nc.Ints(names[k]);
            for (std::size_t i = 0; i < nSamples; ++i) {
                ASSERT_EQ(Unsigned16(state[i]), (*samples)[i].state[k]) << names[k] << " " << i;
            }
        }
    }
    EXPECT_EQ(nc.Text("", "wave_mode"), GetParam().options.bWaveMode ? "on" : "off");
}

INSTANTIATE_TEST_SUITE_P(Recordings, PldToNcAgainstWpr,
                         ::testing::Values(SPeloraCase{"WaveModeOff", Recording(false, 0, 0)},
                                           SPeloraCase{"WaveModeOn", Recording(true, 0, 0)},
                                           SPeloraCase{"Damaged", Recording(false, 97, 89)}),
                         [](const auto& info) { return std::string(info.param.pName); });

// ---- Times -------------------------------------------------------------------------------

CRecordBuilder Pelora(std::uint8_t nId, int nMinute, int nSecond) {
    SPeloraSample sample;
    sample.clock = MakeClock(2008, 1, 1, 12, nMinute, nSecond);
    sample.velocities = {1, 2, 3};
    sample.amplitudes = {4, 5, 6};
    return PeloraRecord(nId, sample);
}

using PldToNcTimes = NcTest;

// Wave mode off: each current record (0x01) opens a burst of the wave samples after it.
TEST_F(PldToNcTimes, WaveSamplesTakeTheSpacingTheirClocksShow) {
    SUserOptions user;
    user.nInterval = 600;
    CRecordingBuilder recording;
    recording.Add(StandardConfiguration("PLD 1001", "3.30", {}, user));
    recording.Add(Pelora(RecordId::SinglePointVelocity, 0, 0));
    // Four samples a second from 12:01:00.5 on: the first second shows two of them.
    for (int k = 0; k < 10; ++k) {
        recording.Add(Pelora(RecordId::PeloraWaveSample, 1, (2 + k) / 4));
    }
    recording.Add(Pelora(RecordId::SinglePointVelocity, 0, 0));  // the clock steps back
    // Clocks of one second: the spacing of the burst before, flagged.
    recording.Add(Pelora(RecordId::PeloraWaveSample, 11, 0));
    recording.Garbage(8);
    recording.Add(Pelora(RecordId::PeloraWaveSample, 11, 0));
    OpenImage(recording.Image(), "run.pld");
    ASSERT_FALSE(PldToNc(m_reader, m_dir.Path("run.nc"), {}).IsFailed());
    const CNcRead nc(m_dir.Path("run.nc"));
    EXPECT_EQ(nc.Text("time_wave", "units"), "seconds since 2008-01-01T12:00:00");
    EXPECT_EQ(nc.Doubles("time"), (std::vector<double>{0.0, 600.0}));
    EXPECT_EQ(nc.Ints("quality_flag"), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(nc.Doubles("time_wave"),
              (std::vector<double>{60.5, 60.75, 61.0, 61.25, 61.5, 61.75, 62.0, 62.25, 62.5, 62.75,
                                   660.0, 660.25}));
    EXPECT_EQ(nc.Ints("quality_flag_wave"),
              (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 3}));
    EXPECT_EQ(nc.Ints("burst_wave"),
              (std::vector<std::int32_t>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2}));
    EXPECT_EQ(nc.Text("", "time_coverage_end"), "2008-01-01T12:11:00.25");
}

}  // namespace
}  // namespace sulvan
