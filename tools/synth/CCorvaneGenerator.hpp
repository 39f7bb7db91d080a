#pragma once
// Writes a synthetic Corvane recording (.mrv): the header with the probe configuration as XML,
// then per sample number one velocity record (0x51) of every probe, the probes taking turns,
// with the irregularities the options ask for: a probe that lags, a probe that misses samples,
// records that take a number without a sample (0x81, 0x91), time marks (0x0F), chunks stamped
// after 2999 and a chunk whose length is damaged.

#include <cstdint>
#include <deque>
#include <string>

#include "CPseudoRandom.hpp"
#include "CRecordingOutput.hpp"
#include "CorvaneBuilder.hpp"

namespace sulvan::synth {

inline constexpr int kMaxProbes = 16;
inline constexpr int kMaxLag = 10000;

struct SCorvaneOptions {
    int nProbes = 2;
    int nBeams = 3;
    int nCells = 1;
    int nSamplingRate = 16;  // Hz
    std::uint64_t nSizeLimit = 1024 * 1024;
    std::uint64_t nSamples = 0;  // per probe; when not 0, nSizeLimit does not apply
    std::uint64_t nSeed = 1;
    bool bWideText = false;  // the text blocks in 16-bit characters
    // Irregularities; counts and periods of 0 turn them off.
    int nLaggingProbe = -1;
    int nLag = 0;  // samples the lagging probe's records come behind the others'
    int nMissingProbe = 0;
    std::uint64_t nMissingEvery = 0;      // the missing probe records no sample n for every Nth n
    std::uint64_t nSkipRecordsEvery = 0;  // probe 0's every Nth sample is a 0x81 or 0x91 record
    std::uint64_t nTimeMarksEvery = 0;    // a time mark after every Nth sample number
    std::uint64_t nLateStamps = 0;        // chunks stamped after 2999, one per 100 samples
    std::uint64_t nDamagedChunkAt = 0;    // this chunk (from 1) announces 65535 words
};

std::string DescribeProblem(const SCorvaneOptions& options);

struct SCorvaneSummary {
    std::uint64_t nBytes = 0;
    std::uint64_t nChunks = 0;
    std::uint64_t nVelocityRecords = 0;  // all probes together
    std::uint64_t nOtherRecords = 0;     // 0x81, 0x91 and 0x0F
};

class CCorvaneGenerator {
  public:
    // Throws std::invalid_argument with the problem DescribeProblem names.
    explicit CCorvaneGenerator(const SCorvaneOptions& options);

    // Creates or replaces the file; each call writes the same recording. Throws FileError.
    SCorvaneSummary Write(const std::string& strPath);

  private:
    std::string Configuration() const;
    // The chunks of sample number n; false when they do not fit any more.
    bool WriteSampleNumber(std::uint64_t n);
    bool Append(const records::Bytes& chunk);
    records::Bytes VelocityChunk(int nProbe, std::uint64_t nTimeStamp);

    SCorvaneOptions m_options;
    std::uint64_t m_nStart;
    CPseudoRandom m_random{1};
    CRecordingOutput* m_pOutput = nullptr;
    std::deque<records::Bytes> m_lagging;  // the lagging probe's chunks not yet due
    records::SProbeSample m_sample;
    SCorvaneSummary m_summary;
};

}  // namespace sulvan::synth
