// The netCDF library's floor for the export: the same variables, chunking and compression as
// TrsToNc writes, filled from memory with plausible sample values (no recording read, no
// record walk), for as many velocity and system samples as a recording holds.
// Usage: sulvan_bench_nc_floor OUTPUT.nc VELOCITY_SAMPLES SYSTEM_SAMPLES [DEFLATE]

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CSampleValues.hpp"
#include "netcdf/CNcBlockWriter.hpp"
#include "netcdf/TarsisNcLayout.hpp"
#include "platform/FileError.hpp"

namespace {

using namespace sulvan;

constexpr int kBeams = 3;

void WriteFloor(const std::string& strPath, std::uint64_t nSamples, std::uint64_t nSystem,
                int nDeflate) {
    synth::CSampleValues values(kBeams, false, 7);
    std::vector<records::SVelocitySample> block;
    for (std::size_t i = 0; i < kNcChunkLength; ++i) {
        block.push_back(values.NextVelocitySample());
    }
    CNcFile file;
    file.Create(strPath);
    STarsisNcShape shape;
    shape.nBeams = kBeams;
    shape.nCoordinateSystem = 1;
    shape.nDeflateLevel = nDeflate;
    shape.nChunkLength = kNcChunkLength;
    const STarsisNcVariables v = DefineTarsisVariables(file, shape);
    file.EndDefinitions();

    CNcBlockWriter samples(file, kNcChunkLength);
    auto& time = samples.AddColumn<double>(v.time);
    std::vector<CNcColumn<std::int16_t>*> velocity;
    for (SNcVariable component : v.velocity) {
        velocity.push_back(&samples.AddColumn<std::int16_t>(component));
    }
    auto& amplitude = samples.AddColumn<std::int8_t>(v.amplitude, kBeams);
    auto& correlation = samples.AddColumn<std::int8_t>(v.correlation, kBeams);
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
    std::vector<CNcColumn<std::int16_t>*> attitude;
    for (SNcVariable variable :
         {v.state.heading, v.state.pitch, v.state.roll, v.state.temperature}) {
        attitude.push_back(&system.AddColumn<std::int16_t>(variable));
    }
    auto& soundSpeed = system.AddColumn<std::int16_t>(v.state.soundSpeed);
    auto& battery = system.AddColumn<std::int16_t>(v.state.battery);
    auto& flagsSys = system.AddColumn<std::int8_t>(v.qualityFlagSys);
    for (std::uint64_t k = 0; k < nSystem; ++k) {
        const std::size_t n = system.Sample();
        timeSys.Set(n, static_cast<double>(k));
        for (std::size_t i = 0; i < attitude.size(); ++i) {
            attitude[i]->Set(n, static_cast<std::int16_t>(900 + (k + i) % 7));
        }
        soundSpeed.Set(n, 15000);
        battery.Set(n, 120);
        flagsSys.Set(n, 0);
        system.Next();
    }
    system.Flush();
    file.Close();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.nc VELOCITY_SAMPLES SYSTEM_SAMPLES [DEFLATE]\n",
                     argv[0]);
        return 2;
    }
    try {
        WriteFloor(argv[1], std::strtoull(argv[2], nullptr, 10),
                   std::strtoull(argv[3], nullptr, 10), argc > 4 ? std::atoi(argv[4]) : 1);
    } catch (const FileError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
