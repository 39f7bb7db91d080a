#pragma once
// A recording reduced to what a picture of it needs, in the inspection's one pass. The bytes
// of its data are cut by position into W columns of (nearly) equal size; each column keeps the
// smallest and the largest value of every series among the records that start in it, the range
// of the record clocks read in it, how many bursts start in it and whether damage covers part of
// it. Nothing is sampled, so every column is exact whatever the recording's size and W, and
// memory depends on W alone.
//
// Columns go by position, not by time, because the extent of the data is known before the pass
// for every family (it ends where the file does) while the times are not: a Corvane recording's
// last stamp is found only at its end, Tarsis velocity samples carry no clock, and a damaged
// clock may say anything. Records of one kind have one size, so position counts samples; a burst
// recording gets its bursts side by side instead of the hours the instrument slept between them;
// and damage is found by position. The picture reads its time axis off the columns' clocks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/RecordingInfo.hpp"

namespace sulvan {

// Beams summarised per velocity sample: as many as an .adv sample holds.
inline constexpr std::size_t kSummaryBeams = 3;
// Corvane probes summarised: as many as the conversion carries.
inline constexpr std::size_t kSummaryProbes = 8;
inline constexpr int kMaxSummaryColumns = 16384;

// The smallest and the largest of the values added; empty while none was.
struct SValueRange {
    double dMin = std::numeric_limits<double>::infinity();
    double dMax = -std::numeric_limits<double>::infinity();

    bool IsEmpty() const { return dMin > dMax; }
    void Add(double dValue) {
        dMin = dValue < dMin ? dValue : dMin;
        dMax = dValue > dMax ? dValue : dMax;
    }
    void Add(const SValueRange& other) {
        dMin = other.dMin < dMin ? other.dMin : dMin;
        dMax = other.dMax > dMax ? other.dMax : dMax;
    }
    bool operator==(const SValueRange&) const = default;
};

// The instrument's own sensors: Tarsis system samples and Pelora velocity records carry them.
enum class ESensor : std::size_t {
    Heading,      // degree
    Pitch,        // degree
    Roll,         // degree
    Temperature,  // degC
    Battery,      // V
};
inline constexpr std::size_t kSensorCount = 5;

struct SSummaryColumn {
    SValueRange time;  // date-time values of the record clocks read in the column
    std::array<SValueRange, kSensorCount> sensors;
    std::uint32_t nBurstStarts = 0;
    bool bDamaged = false;  // a span the walk skipped covers part of the column

    const SValueRange& Sensor(ESensor sensor) const {
        return sensors[static_cast<std::size_t>(sensor)];
    }
    bool operator==(const SSummaryColumn&) const = default;
};

struct SRecordingSummary {
    int nColumns = 0;
    // 1 for recordings of the record framing; the configured probes, at most kSummaryProbes,
    // for Corvane recordings.
    std::size_t nProbes = 0;
    // The bytes the columns divide: from the first data record's place to the end of the file.
    std::uint64_t nDataStart = 0;
    std::uint64_t nDataEnd = 0;
    std::uint64_t nVelocitySamples = 0;
    std::size_t nBeams = 0;  // the most beams a velocity sample had, at most kSummaryBeams
    bool bCompass = false;   // heading, pitch and roll are measured
    std::vector<SSummaryColumn> columns;
    // Velocity (m/s) and amplitude (counts) of each column, probe and beam; see BeamIndex.
    std::vector<SValueRange> velocity;
    std::vector<SValueRange> amplitude;

    // The column of the byte at nOffset: (nOffset - nDataStart) * nColumns / (nDataEnd -
    // nDataStart), rounded down; offsets outside the data go to the nearest column.
    int ColumnOf(std::uint64_t nOffset) const;
    std::size_t BeamIndex(int nColumn, std::size_t nProbe, std::size_t nBeam) const {
        return (static_cast<std::size_t>(nColumn) * nProbes + nProbe) * kSummaryBeams + nBeam;
    }
    const SValueRange& Velocity(int nColumn, std::size_t nProbe, std::size_t nBeam) const {
        return velocity[BeamIndex(nColumn, nProbe, nBeam)];
    }
    const SValueRange& Amplitude(int nColumn, std::size_t nProbe, std::size_t nBeam) const {
        return amplitude[BeamIndex(nColumn, nProbe, nBeam)];
    }
    // Velocity samples or sensor values were found.
    bool HasData() const;
    bool operator==(const SRecordingSummary&) const = default;
};

// What a quick look at a recording finds: what sulvan-info reports, and the summary.
struct SQuickLook {
    SRecordingInfo info;
    SRecordingSummary summary;
};

// Inspects the recording and summarises it in nColumns columns (limited to 1 to
// kMaxSummaryColumns) in the same pass. Empty when stop was requested before the pass ended.
std::optional<SQuickLook> LookAtRecording(const std::string& strPath, int nColumns,
                                          std::stop_token stop = {});

}  // namespace sulvan
