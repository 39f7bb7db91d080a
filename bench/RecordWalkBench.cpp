// Throughput of the record walk through the buffered file, beside a plain sequential read of
// the same file: the walk should stay close to the speed of reading the bytes at all.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "RecordBuilder.hpp"
#include "convert/AdvLayout.hpp"
#include "format/CRecordWalk.hpp"
#include "format/Checksum.hpp"
#include "platform/CBinaryFile.hpp"

namespace {

using namespace sulvan;

constexpr std::size_t kRecordingSize = 64u << 20;

// A 64 MiB Tarsis recording: one system sample per 32 velocity samples, written once.
const std::string& RecordingPath() {
    static const std::string strPath = [] {
        std::string strName = "/tmp/sulvan-bench-walk-XXXXXX";
        const int descriptor = mkstemp(strName.data());
        records::Bytes image = records::StandardConfiguration();
        const records::Bytes system = records::SystemSample().Build();
        const records::Bytes velocity = records::VelocitySample().Build();
        image.reserve(kRecordingSize + 4096);
        while (image.size() < kRecordingSize) {
            image.insert(image.end(), system.begin(), system.end());
            for (int i = 0; i < 32; ++i) {
                image.insert(image.end(), velocity.begin(), velocity.end());
            }
        }
        if (::write(descriptor, image.data(), image.size()) != static_cast<ssize_t>(image.size())) {
            std::perror("writing the benchmark recording");
        }
        ::close(descriptor);
        return strName;
    }();
    return strPath;
}

void RecordWalk(benchmark::State& state) {
    std::uint64_t nRecords = 0;
    for (auto _ : state) {
        CBinaryFile file;
        file.Open(RecordingPath(), CBinaryFile::EOpenMode::Read);
        SRecordGeometry geometry;
        geometry.bUserConfigValid = true;  // as after opening a file with its configuration
        CRecordWalk walk(
            file, geometry,
            SWalkOptions{.nRecordSizeLimit = 2048, .bVerifyChecksum = state.range(0) != 0});
        SRecordView record;
        while (walk.Next(record)) {
            ++nRecords;
        }
        benchmark::DoNotOptimize(nRecords);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecordingSize));
    state.counters["records"] =
        static_cast<double>(nRecords) / static_cast<double>(state.iterations());
}

void PlainSequentialRead(benchmark::State& state) {
    std::vector<std::uint8_t> buffer(CBinaryFile::kWindowSize);
    for (auto _ : state) {
        const int descriptor = ::open(RecordingPath().c_str(), O_RDONLY);
        std::uint64_t nSum = 0;
        ssize_t nRead = 0;
        while ((nRead = ::read(descriptor, buffer.data(), buffer.size())) > 0) {
            nSum += buffer[static_cast<std::size_t>(nRead) - 1];
        }
        ::close(descriptor);
        benchmark::DoNotOptimize(nSum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecordingSize));
}

// The steps a walk takes per record, each on its own.
void RecordChecksum(benchmark::State& state) {
    const records::Bytes sample = records::VelocitySample().Build();
    for (auto _ : state) {
        benchmark::DoNotOptimize(IsRecordIntact(sample));
    }
}

void CheckRecordSize(benchmark::State& state) {
    SRecordGeometry geometry;
    geometry.bUserConfigValid = true;
    const std::array<std::uint8_t, 4> headers[] = {{0xA5, 0x10, 0, 0}, {0xA5, 0x11, 14, 0}};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(geometry.CheckRecordSize(headers[++i & 1]));
    }
}

void AdvSampleAssembly(benchmark::State& state) {
    SAdvSample sample;
    sample.velocity = {0.1F, -0.2F, 0.3F};
    std::array<std::uint8_t, kAdvSampleWithAttitudeSize> out{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(sample);
        benchmark::DoNotOptimize(EncodeAdvSample(sample, true, out.data()));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(PlainSequentialRead)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordChecksum);
BENCHMARK(CheckRecordSize);
BENCHMARK(AdvSampleAssembly);
// With the checksum test (as converters walk) and without it (the walk's own share).
BENCHMARK(RecordWalk)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(RecordingPath().c_str());
    return 0;
}
