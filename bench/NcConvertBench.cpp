// Times the netCDF export on a recording, without the front ends: opens it as the batch driver
// does (silently) and converts it with TrsToNc.
// Usage: sulvan_bench_nc_convert INPUT.trs OUTPUT.nc [DEFLATE]

#include <cstdio>
#include <cstdlib>
#include <string>

#include "netcdf/TrsToNc.hpp"
#include "platform/CUserInterface.hpp"
#include "reader/CInsFile.hpp"

namespace {

class CSilentUserInterface : public sulvan::CUserInterface {
  public:
    void ShowMessage(const std::string& strText) override {
        std::fprintf(stderr, "%s\n", strText.c_str());
    }
    bool AskOkCancel(const std::string&) override { return false; }
    bool AskYesNo(const std::string&) override { return false; }
    void BeginWait() override {}
    void EndWait() override {}
    void SetProgress(int) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s INPUT.trs OUTPUT.nc [DEFLATE]\n", argv[0]);
        return 2;
    }
    CSilentUserInterface ui;
    sulvan::CInsFile reader;
    std::string strInput = argv[1];
    if (reader.Open(strInput, true, nullptr) == 0) {
        std::fprintf(stderr, "%s: cannot be opened\n", argv[1]);
        return 1;
    }
    sulvan::SNcOptions options;
    options.nDeflateLevel = argc > 3 ? std::atoi(argv[3]) : 1;
    options.strCommandLine = "sulvan_bench_nc_convert";
    const sulvan::SFileOutcome outcome = sulvan::TrsToNc(ui, reader, argv[2], options);
    for (const sulvan::SFileMessage& message : outcome.messages) {
        std::fprintf(stderr, "%s\n", message.strReason.c_str());
    }
    if (outcome.IsFailed()) {
        return 1;
    }
    std::printf("%s: %llu samples\n", argv[2],
                static_cast<unsigned long long>(outcome.written.front().nDataRecords.value_or(0)));
    return 0;
}
