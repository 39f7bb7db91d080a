#pragma once
// Writes a synthetic Pelora current-meter recording (.pld): the configuration block, then per
// measurement interval a velocity record (0x01, or now and then an extended one, 0x70),
// followed by a burst of wave samples (0x80) at 2 Hz. The wave-mode flag of the configuration
// says whether the velocity records belong to the bursts (clear) or stand apart (set).

#include <cstdint>
#include <string>

#include "CDataRecordWriter.hpp"
#include "CSampleValues.hpp"
#include "SRecordingOptions.hpp"

namespace sulvan::synth {

inline constexpr int kMaxWaveSamples = 65534;

struct SPeloraOptions : SRecordingOptions {
    bool bWaveMode = false;
    int nWaveSamples = 1024;           // wave samples after each velocity record
    std::uint64_t nExtendedEvery = 0;  // every Nth velocity record is a 0x70 one; 0 for none
};

std::string DescribeProblem(const SPeloraOptions& options);

class CPeloraGenerator {
  public:
    // Throws std::invalid_argument with the problem DescribeProblem names.
    explicit CPeloraGenerator(const SPeloraOptions& options);

    // Creates or replaces the file; each call writes the same recording. Throws FileError.
    SSynthSummary Write(const std::string& strPath);

  private:
    // One measurement: the velocity record and its burst. False when the recording is
    // complete.
    bool WriteMeasurement();
    bool WriteRecord(records::CRecordBuilder& record, std::uint64_t nHalfSeconds);

    SPeloraOptions m_options;
    double m_dStart;
    CDataRecordWriter m_writer;
    CSampleValues m_values;
    records::CRecordBuilder m_velocity;
    records::CRecordBuilder m_extended;
    records::CRecordBuilder m_wave;
    records::SPeloraSample m_sample;
    std::uint64_t m_nMeasurement = 0;
};

}  // namespace sulvan::synth
