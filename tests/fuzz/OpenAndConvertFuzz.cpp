// Feeds arbitrary bytes through everything a conversion does with an input: as a .trs file,
// opening (configuration search, times, the repair of a raw dump), the Tarsis and wave
// conversions and the burst-header repair; as a .mrv file, the Corvane conversion. Build with
// the fuzz preset; run with a corpus folder.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "convert/BurstHeaderRepair.hpp"
#include "convert/ConvertToWpr.hpp"
#include "convert/MrvToAdv.hpp"
#include "convert/TrsToAdv.hpp"
#include "platform/CUserInterface.hpp"
#include "reader/CInsFile.hpp"

namespace {

// Says OK and Yes to everything, so that every branch behind a question runs.
class CAgreeingUserInterface : public sulvan::CUserInterface {
  public:
    void ShowMessage(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return true; }
    bool AskYesNo(const std::string&) override { return true; }
    void BeginWait() override {}
    void EndWait() override {}
    void SetProgress(int) override {}
};

const std::string& Folder() {
    static const std::string strFolder = [] {
        std::string strTemplate = "/tmp/sulvan-fuzz-XXXXXX";
        return std::string(mkdtemp(strTemplate.data()));
    }();
    return strFolder;
}

void WriteInput(const std::string& strPath, const std::uint8_t* pData, std::size_t nSize) {
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    std::fwrite(pData, 1, nSize, pFile);
    std::fclose(pFile);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string strInput = Folder() + "/input.trs";
    WriteInput(strInput, pData, nSize);
    CAgreeingUserInterface ui;
    sulvan::SFileOutcome outcome;
    for (bool bBurstFiles : {false, true}) {
        sulvan::CInsFile reader;
        std::string strName = strInput;
        if (reader.Open(strName, bBurstFiles, &ui, outcome) == 0) {
            continue;
        }
        sulvan::TrsToAdv(reader, Folder() + "/output.adv", bBurstFiles);
    }
    for (bool bChecksum : {false, true}) {
        sulvan::CInsFile reader;
        std::string strName = strInput;
        if (reader.Open(strName, bChecksum, nullptr, outcome) != 0) {
            sulvan::SWprOptions options;
            options.bChecksumControl = bChecksum;
            sulvan::ConvertToWpr(ui, reader, Folder() + "/output.wpr", options);
        }
    }
    sulvan::CInsFile reader;
    std::string strName = strInput;
    if (reader.Open(strName, false, nullptr, outcome) != 0) {
        sulvan::RepairBurstHeaders(reader, Folder() + "/output_new.trs",
                                   reader.Config().m_nBurstSamples);
    }
    const std::string strProbes = Folder() + "/input.mrv";
    WriteInput(strProbes, pData, nSize);
    sulvan::MrvToAdv(ui, strProbes, Folder() + "/probes.adv", nullptr);
    return 0;
}
