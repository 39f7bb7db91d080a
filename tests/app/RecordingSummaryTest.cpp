// The streaming summary against a brute-force one: every record of a synthetic recording is
// noted with its place and values as it is built, damage byte by byte, and each column's
// ranges are then formed from those notes alone.

#include "app/RecordingSummary.hpp"

#include <gtest/gtest.h>

#include "CTempDir.hpp"
#include "CorvaneBuilder.hpp"
#include "RecordBuilder.hpp"
#include "format/RecordCatalogue.hpp"

namespace sulvan {
namespace {

using namespace test;
using namespace records;

struct SNote {
    std::uint64_t nOffset = 0;
    std::optional<double> time = {};
    std::size_t nProbe = 0;
    std::vector<double> velocities = {};  // m/s
    std::vector<double> amplitudes = {};
    std::optional<std::array<double, kSensorCount>> sensors = {};
    bool bBurst = false;
};

// A recording with what a faithful summary of it must hold.
struct SScript {
    CRecordingBuilder recording;
    Bytes head;  // bytes before the data (Corvane header)
    std::vector<SNote> notes;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> damage;  // [begin, end)
    std::uint64_t nDataStart = 0;

    std::uint64_t Here() const { return head.size() + recording.Size(); }
    Bytes Image() const {
        Bytes image = head;
        image.insert(image.end(), recording.Image().begin(), recording.Image().end());
        return image;
    }
};

std::int16_t Wiggle(std::size_t i, std::size_t b) {
    return static_cast<std::int16_t>(static_cast<int>((i * 7919 + b * 104729) % 2001) - 1000);
}

ClockBytes ClockAt(std::size_t nSecond) {
    return MakeClock(2009, 3, 1, 6, static_cast<int>(nSecond / 60 % 60),
                     static_cast<int>(nSecond % 60));
}

// Velocity samples alone: the data divide into equal parts for a column count that divides
// their number.
SScript EvenTarsis() {
    SScript s;
    s.recording.Add(StandardConfiguration());
    s.nDataStart = s.Here();
    for (std::size_t i = 0; i < 120; ++i) {
        const std::int16_t nCount = Wiggle(i, 0);
        s.notes.push_back({.nOffset = s.Here(),
                           .velocities = {nCount * 0.001, 0.1, 0.1},
                           .amplitudes = {double(i), 0, 0}});
        s.recording.Add(VelocitySample({{nCount, 100, 100}, {std::uint8_t(i), 0, 0}, {0, 0, 0}}));
    }
    return s;
}

// Tarsis bursts opened by headers, system samples, garbage, bad checksums and a cut-off tail.
SScript DamagedTarsisBursts() {
    SScript s;
    s.recording.Add(StandardConfiguration());
    s.nDataStart = s.Here();
    for (std::size_t i = 0; i < 150; ++i) {
        if (i % 25 == 0) {
            s.notes.push_back(
                {.nOffset = s.Here(), .time = DecodeClock(ClockAt(i).data()), .bBurst = true});
            s.recording.Add(VelocityHeader(ClockAt(i), 25));
        }
        if (i % 10 == 0) {
            SSystemSample system{.clock = ClockAt(i),
                                 .nBattery = static_cast<std::uint16_t>(110 + i % 13),
                                 .nHeading = Wiggle(i, 0),
                                 .nPitch = Wiggle(i, 1),
                                 .nRoll = Wiggle(i, 2),
                                 .nTemperature = Wiggle(i, 3)};
            s.notes.push_back({.nOffset = s.Here(),
                               .time = DecodeClock(system.clock.data()),
                               .sensors = std::array<double, kSensorCount>{
                                   system.nHeading * 0.1, system.nPitch * 0.1, system.nRoll * 0.1,
                                   system.nTemperature * 0.01, system.nBattery * 0.1}});
            s.recording.Add(SystemSample(system));
        }
        const SVelocitySample sample{{Wiggle(i, 0), Wiggle(i, 1), Wiggle(i, 2)},
                                     {std::uint8_t(i % 200), std::uint8_t(50 + i % 7), 9},
                                     {1, 2, 3}};
        if (i % 17 == 16) {
            s.damage.emplace_back(s.Here(), s.Here() + 24);
            s.recording.Add(VelocitySample(sample).CorruptChecksum());
            continue;
        }
        s.notes.push_back(
            {.nOffset = s.Here(),
             .velocities = {sample.velocities[0] * 0.001, sample.velocities[1] * 0.001,
                            sample.velocities[2] * 0.001},
             .amplitudes = {double(sample.amplitudes[0]), double(sample.amplitudes[1]), 9.0}});
        s.recording.Add(VelocitySample(sample));
        if (i % 13 == 12) {
            s.damage.emplace_back(s.Here(), s.Here() + 9);
            s.recording.Garbage(9);
        }
    }
    s.damage.emplace_back(s.Here(), s.Here() + 19);
    s.recording.Add(VelocitySample()).TruncateBy(5);
    return s;
}

// Two probes side by side; a chunk stamped before 1900 gives nothing; the last chunk announces
// more than the file holds.
SScript CorvaneProbes() {
    SScript s;
    s.head = CorvaneHeader(MiraveloXml({"MRV-1", "MRV-2"}), FileTimeOf(2010, 5, 17, 13, 0, 0));
    s.nDataStart = s.Here();
    for (std::size_t i = 0; i < 90; ++i) {
        const std::size_t p = i % 2;
        const std::uint64_t nStamp = i == 41 ? 0 : FileTimeOf(2010, 5, 17, 13, 0, int(i / 4));
        const SProbeSample sample{.nBeams = 3,
                                  .nCells = 2,
                                  .bFineScale = p == 1,
                                  .velocities = {Wiggle(i, 0), 5, Wiggle(i, 1), 6, Wiggle(i, 2), 7},
                                  .amplitudes = {10, 11, std::uint8_t(i), 13, 14, 15},
                                  .correlations = {0, 0, 0, 0, 0, 0}};
        if (i != 41) {
            const double dScale = p == 1 ? 0.0001 : 0.001;
            s.notes.push_back({.nOffset = s.Here(),
                               .time = DateTimeFromFileTime(nStamp),
                               .nProbe = p,
                               .velocities = {Wiggle(i, 0) * dScale, Wiggle(i, 1) * dScale,
                                              Wiggle(i, 2) * dScale},
                               .amplitudes = {10, double(i), 14}});
        }
        s.recording.Add(CorvaneChunk(std::uint16_t(p), nStamp, ProbeVelocityRecord(sample)));
    }
    s.damage.emplace_back(s.Here(), s.Here() + 20);
    Bytes cut = CorvaneChunk(0, FileTimeOf(2010, 5, 17, 14, 0, 0), Bytes(8, 0));
    cut[10] = cut[11] = 0xFF;
    s.recording.Add(cut);
    return s;
}

SRecordingSummary BruteForce(const SScript& s, int nColumns, std::size_t nProbes) {
    SRecordingSummary expected;
    const std::uint64_t nEnd = s.Here();
    const auto column = [&](std::uint64_t nOffset) {
        return static_cast<std::size_t>((nOffset - s.nDataStart) * std::uint64_t(nColumns) /
                                        (nEnd - s.nDataStart));
    };
    expected.columns.resize(std::size_t(nColumns));
    expected.velocity.resize(std::size_t(nColumns) * nProbes * kSummaryBeams);
    expected.amplitude = expected.velocity;
    for (const SNote& note : s.notes) {
        SSummaryColumn& c = expected.columns[column(note.nOffset)];
        if (note.time) {
            c.time.Add(*note.time);
        }
        c.nBurstStarts += note.bBurst ? 1 : 0;
        for (std::size_t k = 0; note.sensors && k < kSensorCount; ++k) {
            c.sensors[k].Add((*note.sensors)[k]);
        }
        for (std::size_t b = 0; b < note.velocities.size(); ++b) {
            const std::size_t i = (column(note.nOffset) * nProbes + note.nProbe) * 3 + b;
            expected.velocity[i].Add(note.velocities[b]);
            expected.amplitude[i].Add(note.amplitudes[b]);
        }
    }
    for (const auto& [nBegin, nDamageEnd] : s.damage) {
        for (std::uint64_t n = nBegin; n < std::min(nDamageEnd, nEnd); ++n) {
            expected.columns[column(n)].bDamaged = true;
        }
    }
    return expected;
}

struct SCase {
    const char* pName;
    SScript (*fnScript)();
    const char* pFile;
    std::size_t nProbes;
    std::size_t nSamples;
};

class RecordingSummaryTest : public ::testing::TestWithParam<SCase> {};

TEST_P(RecordingSummaryTest, EveryColumnHoldsExactlyTheRangesOfItsRecords) {
    const SScript script = GetParam().fnScript();
    CTempDir dir;
    const std::string strPath = dir.Write(GetParam().pFile, script.Image());
    // 40 and 120 divide the 120 samples of the even recording (3 and 1 to a column), 7 and 1000
    // do not (1000 leaves most columns empty); the damaged recordings divide unevenly.
    for (const int nColumns : {1, 7, 40, 120, 1000}) {
        SCOPED_TRACE(nColumns);
        const std::optional<SQuickLook> look = LookAtRecording(strPath, nColumns);
        ASSERT_TRUE(look && look->info.strError.empty());
        const SRecordingSummary& summary = look->summary;
        const SRecordingSummary expected = BruteForce(script, nColumns, GetParam().nProbes);
        EXPECT_EQ(summary.nVelocitySamples, GetParam().nSamples);
        EXPECT_EQ(summary.nDataStart, script.nDataStart);
        ASSERT_EQ(summary.columns.size(), expected.columns.size());
        ASSERT_EQ(summary.velocity.size(), expected.velocity.size());
        for (std::size_t c = 0; c < expected.columns.size(); ++c) {
            EXPECT_TRUE(summary.columns[c] == expected.columns[c]) << "column " << c;
        }
        EXPECT_TRUE(summary.velocity == expected.velocity);
        EXPECT_TRUE(summary.amplitude == expected.amplitude);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, RecordingSummaryTest,
    ::testing::Values(SCase{"EvenTarsis", EvenTarsis, "even.trs", 1, 120},
                      SCase{"TarsisBursts", DamagedTarsisBursts, "bursts.trs", 1, 142},
                      SCase{"CorvaneProbes", CorvaneProbes, "probes.mrv", 2, 89}),
    [](const auto& info) { return std::string(info.param.pName); });

TEST(RecordingSummary, AStopRequestedEndsThePassWithoutASummary) {
    CTempDir dir;
    const std::string strPath = dir.Write("bursts.trs", DamagedTarsisBursts().Image());
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(LookAtRecording(strPath, 100, stop.get_token()));
}

}  // namespace
}  // namespace sulvan
