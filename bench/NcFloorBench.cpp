// The netCDF library's floor for the export: the same variables, chunking and compression as the
// export writes for a recording of the kind, filled from memory with plausible sample values (no
// recording read, no record walk), for as many samples as the recording holds.
// Usage: sulvan_bench_nc_floor KIND OUTPUT.nc COUNT1 COUNT2 [DEFLATE], where KIND and the counts
// are: tarsis VELOCITY_SAMPLES SYSTEM_SAMPLES, pelora CURRENT_RECORDS WAVE_SAMPLES, corvane
// SAMPLES PROBES.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CSampleValues.hpp"
#include "netcdf/CNcBlockWriter.hpp"
#include "netcdf/CorvaneNcLayout.hpp"
#include "netcdf/PeloraNcLayout.hpp"
#include "netcdf/TarsisNcLayout.hpp"
#include "platform/FileError.hpp"

namespace {

using namespace sulvan;

constexpr int kBeams = 3;

// A block of plausible velocity samples, used over and over.
std::vector<records::SVelocitySample> SampleBlock() {
    synth::CSampleValues values(kBeams, false, 7);
    std::vector<records::SVelocitySample> block;
    for (std::size_t i = 0; i < kNcChunkLength; ++i) {
        block.push_back(values.NextVelocitySample());
    }
    return block;
}

// Heading, pitch, roll, temperature, sound speed and battery along a block.
void AddState(CNcBlockWriter& block, const SNcStateVariables& state,
              std::vector<CNcColumn<std::int16_t>*>& columns) {
    for (SNcVariable variable : {state.heading, state.pitch, state.roll, state.temperature,
                                 state.soundSpeed, state.battery}) {
        columns.push_back(&block.AddColumn<std::int16_t>(variable));
    }
}

void SetState(std::vector<CNcColumn<std::int16_t>*>& columns, std::size_t n, std::uint64_t k) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i]->Set(n, static_cast<std::int16_t>(900 + (k + i) % 7));
    }
}

void WriteTarsis(CNcFile& file, std::uint64_t nSamples, std::uint64_t nSystem, int nDeflate) {
    const std::vector<records::SVelocitySample> block = SampleBlock();
    SReaderNcShape shape;
    shape.nBeams = kBeams;
    shape.nCoordinateSystem = 1;
    shape.nDeflateLevel = nDeflate;
    const STarsisNcVariables v = DefineTarsisVariables(file, shape);
    file.EndDefinitions();

    CNcBlockWriter samples(file, kNcChunkLength);
    auto& time = samples.AddColumn<double>(v.time);
    std::vector<CNcColumn<std::int16_t>*> velocity;
    for (SNcVariable component : v.velocity) {
        velocity.push_back(&samples.AddColumn<std::int16_t>(component));
    }
    auto& amplitude = samples.AddRows<std::int8_t>(v.amplitude, kBeams);
    auto& correlation = samples.AddRows<std::int8_t>(v.correlation, kBeams);
    auto& pressure = samples.AddColumn<std::int32_t>(v.pressure);
    auto& analog = samples.AddColumn<std::int16_t>(v.analogInput1);
    auto& burst = samples.AddColumn<std::int32_t>(v.burst);
    auto& sampleInBurst = samples.AddColumn<std::int32_t>(v.sampleInBurst);
    auto& flags = samples.AddColumn<std::int8_t>(v.qualityFlag);
    for (std::uint64_t k = 0; k < nSamples; ++k) {
        const records::SVelocitySample& sample = block[k % kNcChunkLength];
        const std::size_t n = samples.Sample();
        time.Set(n, static_cast<double>(k) / 32.0);
        for (std::size_t b = 0; b < kBeams; ++b) {
            velocity[b]->Set(n, sample.velocities[b]);
            amplitude.Set(b, n, static_cast<std::int8_t>(sample.amplitudes[b]));
            correlation.Set(b, n, static_cast<std::int8_t>(sample.correlations[b]));
        }
        pressure.Set(n, sample.nPressure);
        analog.Set(n, static_cast<std::int16_t>(sample.nAnalog1));
        burst.Set(n, 0);
        sampleInBurst.Set(n, static_cast<std::int32_t>(k % 32));
        flags.Set(n, 0);
        samples.Next();
    }
    samples.Flush();

    CNcBlockWriter system(file, kNcChunkLength);
    auto& timeSys = system.AddColumn<double>(v.timeSys);
    std::vector<CNcColumn<std::int16_t>*> state;
    AddState(system, v.state, state);
    auto& flagsSys = system.AddColumn<std::int8_t>(v.qualityFlagSys);
    for (std::uint64_t k = 0; k < nSystem; ++k) {
        const std::size_t n = system.Sample();
        timeSys.Set(n, static_cast<double>(k));
        SetState(state, n, k);
        flagsSys.Set(n, 0);
        system.Next();
    }
    system.Flush();
}

// The records of one kind of a Pelora recording: current records with their state, or wave
// samples with their burst numbers.
void WritePeloraSeries(CNcFile& file, const SPeloraNcSeries& series, std::uint64_t nCount,
                       double dInterval, const SNcStateVariables* pState, SNcVariable burst) {
    const std::vector<records::SVelocitySample> block = SampleBlock();
    CNcBlockWriter samples(file, kNcChunkLength);
    auto& time = samples.AddColumn<double>(series.time);
    std::vector<CNcColumn<std::int16_t>*> velocity;
    for (SNcVariable component : series.velocity) {
        velocity.push_back(&samples.AddColumn<std::int16_t>(component));
    }
    auto& amplitude = samples.AddRows<std::int8_t>(series.amplitude, kBeams);
    auto& pressure = samples.AddColumn<std::int32_t>(series.pressure);
    auto& analog = samples.AddColumn<std::int16_t>(series.analogInput1);
    auto& flags = samples.AddColumn<std::int8_t>(series.qualityFlag);
    std::vector<CNcColumn<std::int16_t>*> state;
    if (pState != nullptr) {
        AddState(samples, *pState, state);
    }
    CNcColumn<std::int32_t>* pBurst =
        pState == nullptr ? &samples.AddColumn<std::int32_t>(burst) : nullptr;
    for (std::uint64_t k = 0; k < nCount; ++k) {
        const records::SVelocitySample& sample = block[k % kNcChunkLength];
        const std::size_t n = samples.Sample();
        time.Set(n, static_cast<double>(k) * dInterval);
        for (std::size_t b = 0; b < kBeams; ++b) {
            velocity[b]->Set(n, sample.velocities[b]);
            amplitude.Set(b, n, static_cast<std::int8_t>(sample.amplitudes[b]));
        }
        pressure.Set(n, sample.nPressure);
        analog.Set(n, static_cast<std::int16_t>(sample.nAnalog1));
        flags.Set(n, 0);
        SetState(state, n, k);
        if (pBurst != nullptr) {
            pBurst->Set(n, static_cast<std::int32_t>(k / 1024 + 1));
        }
        samples.Next();
    }
    samples.Flush();
}

void WritePelora(CNcFile& file, std::uint64_t nCurrent, std::uint64_t nWave, int nDeflate) {
    SReaderNcShape shape;
    shape.nBeams = kBeams;
    shape.nCoordinateSystem = 1;
    shape.nDeflateLevel = nDeflate;
    const SPeloraNcVariables v = DefinePeloraVariables(file, shape);
    file.EndDefinitions();
    WritePeloraSeries(file, v.current, nCurrent, 600.0, &v.state, {});
    WritePeloraSeries(file, v.wave, nWave, 0.5, nullptr, v.burstWave);
}

// Every probe has every sample, as in a recording without gaps.
void WriteCorvane(CNcFile& file, std::uint64_t nSamples, std::size_t nProbes, int nDeflate) {
    const std::vector<records::SVelocitySample> values = SampleBlock();
    SCorvaneNcShape shape;
    shape.nProbes = nProbes;
    shape.nBeams = kBeams;
    shape.nDeflateLevel = nDeflate;
    shape.nChunkLength = CorvaneChunkLength(nProbes);
    const SCorvaneNcVariables v = DefineCorvaneVariables(file, shape);
    file.EndDefinitions();
    const std::size_t nBlock = shape.nChunkLength;
    std::vector<std::int32_t> sample(nBlock);
    std::vector<double> time(nBlock);
    std::vector<std::int32_t> timeMarks(nBlock, 0);
    std::vector<double> probeTime(nBlock * nProbes);
    std::vector<std::int8_t> flags(nBlock * nProbes, 0);
    std::vector<std::int16_t> velocity(nBlock * nProbes * kBeams);
    std::vector<std::int16_t> amplitude(velocity.size());
    std::vector<std::int16_t> correlation(velocity.size());
    for (std::uint64_t nStart = 0; nStart < nSamples; nStart += nBlock) {
        const std::size_t nRows =
            static_cast<std::size_t>(std::min<std::uint64_t>(nBlock, nSamples - nStart));
        for (std::size_t i = 0; i < nRows; ++i) {
            const std::uint64_t k = nStart + i;
            sample[i] = static_cast<std::int32_t>(k + 1);
            time[i] = static_cast<double>(k) / 16.0;
            for (std::size_t p = 0; p < nProbes; ++p) {
                const records::SVelocitySample& value = values[(k * nProbes + p) % values.size()];
                probeTime[i * nProbes + p] = time[i] + static_cast<double>(p) * 1.0e-4;
                for (std::size_t b = 0; b < kBeams; ++b) {
                    const std::size_t nEntry = (i * nProbes + p) * kBeams + b;
                    velocity[nEntry] = value.velocities[b];
                    amplitude[nEntry] = value.amplitudes[b];
                    correlation[nEntry] = value.correlations[b];
                }
            }
        }
        const std::size_t start[] = {static_cast<std::size_t>(nStart), 0, 0};
        const std::size_t count[] = {nRows, nProbes, kBeams};
        file.Write(v.sample, start, count, sample.data());
        file.Write(v.time, start, count, time.data());
        file.Write(v.timeMarks, start, count, timeMarks.data());
        file.Write(v.probeTime, start, count, probeTime.data());
        file.Write(v.qualityFlag, start, count, flags.data());
        file.Write(v.velocity, start, count, velocity.data());
        file.Write(v.amplitude, start, count, amplitude.data());
        file.Write(v.correlation, start, count, correlation.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s tarsis|pelora|corvane OUTPUT.nc COUNT1 COUNT2 [DEFLATE]\n",
                     argv[0]);
        return 2;
    }
    const std::string_view strKind = argv[1];
    const std::uint64_t nFirst = std::strtoull(argv[3], nullptr, 10);
    const std::uint64_t nSecond = std::strtoull(argv[4], nullptr, 10);
    const int nDeflate = argc > 5 ? std::atoi(argv[5]) : 1;
    try {
        CNcFile file;
        file.Create(argv[2]);
        if (strKind == "tarsis") {
            WriteTarsis(file, nFirst, nSecond, nDeflate);
        } else if (strKind == "pelora") {
            WritePelora(file, nFirst, nSecond, nDeflate);
        } else if (strKind == "corvane") {
            WriteCorvane(file, nFirst, static_cast<std::size_t>(nSecond), nDeflate);
        } else {
            std::fprintf(stderr, "%s: no such kind: %s\n", argv[0], argv[1]);
            return 2;
        }
        file.Close();
    } catch (const FileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
