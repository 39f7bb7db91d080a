// Add files with a full list: 2048 small recordings, each dated by the profile record at byte
// 784, picked in shuffled order and sorted by start time. The goal is well under a second.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "RecordBuilder.hpp"
#include "app/CSulvanFileDlg.hpp"
#include "format/RecordCatalogue.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/CUserInterface.hpp"

namespace {

using namespace sulvan;

constexpr int kFiles = static_cast<int>(CSulvanFileDlg::kMaxFiles);

// Adding files asks nothing and shows nothing.
class CSilentUserInterface : public CUserInterface {
  public:
    void ShowMessage(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return false; }
    bool AskYesNo(const std::string&) override { return false; }
    void BeginWait() override {}
    void EndWait() override {}
    void SetProgress(int) override {}
};

struct SRecordingSet {
    std::string strFolder;
    std::vector<std::string> paths;  // in the order they are picked
};

// The recordings, written once: file n is dated n minutes after the first.
const SRecordingSet& Recordings() {
    static const SRecordingSet set = [] {
        SRecordingSet written;
        std::string strTemplate = "/tmp/sulvan-bench-sort-XXXXXX";
        written.strFolder = ::mkdtemp(strTemplate.data());
        const records::Bytes configuration = records::StandardConfiguration();
        for (int n = 0; n < kFiles; ++n) {
            const ClockBytes clock =
                records::MakeClock(2008, 1, 1 + n / 1440, n / 60 % 24, n % 60, 0);
            records::Bytes image = configuration;
            records::ProfileRecord(RecordId::CurrentProfile, 3, 1, clock).AppendTo(image);
            const std::string strPath = written.strFolder + "/rec" + std::to_string(n) + ".pld";
            CBinaryFile file;
            file.Open(strPath, CBinaryFile::EOpenMode::Create);
            file.Write(image.data(), image.size());
            file.Close();
            written.paths.push_back(strPath);
        }
        std::shuffle(written.paths.begin(), written.paths.end(), std::mt19937(2048));
        return written;
    }();
    return set;
}

bool IsSortedByName(const CSulvanFileDlg& dialog) {
    for (int n = 0; n < kFiles; ++n) {
        if (dialog.m_listFiles[static_cast<std::size_t>(n)].strDisplayName !=
            "rec" + std::to_string(n) + ".pld") {
            return false;
        }
    }
    return true;
}

void AddAndSort2048Files(benchmark::State& state) {
    const SRecordingSet& set = Recordings();
    CSilentUserInterface ui;
    for (auto _ : state) {
        CSulvanFileDlg dialog(ui);
        dialog.AddFiles(set.paths);
        state.PauseTiming();
        if (dialog.FileCount() != CSulvanFileDlg::kMaxFiles || !IsSortedByName(dialog)) {
            state.SkipWithError("the files were not listed in the order of their start times");
        }
        state.ResumeTiming();
    }
    state.counters["files"] = kFiles;
}

BENCHMARK(AddAndSort2048Files)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Recordings().strFolder);
    return 0;
}
