// Opening arbitrary bytes as an instrument data file, with the configuration questions answered
// No and then Yes (the recorder dump repair), and silently: Open succeeds with the file
// positioned inside it or fails with a reason, a repaired copy is the configuration block
// followed by the input byte for byte, and the input is never changed. The first byte chooses
// the extension (and with it the family) and the checksum control.

#include <algorithm>
#include <array>
#include <string_view>

#include "CTempDir.hpp"
#include "ConversionRuns.hpp"
#include "FuzzTargets.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan::fuzz {
namespace {

constexpr std::array<std::string_view, 10> kExtensions = {".pld", ".prf", ".trs", ".jxm", ".sld",
                                                          ".kpm", ".wpr", ".wpb", ".mrv", ".dat"};

void CheckOpened(CInsFile& reader, int nOpened, const SFileOutcome& outcome,
                 const std::string& strInput, const std::string& strName,
                 std::span<const std::uint8_t> input) {
    Require((nOpened == 1) == !outcome.IsFailed(), "Open fails exactly when its outcome says so");
    Require(nOpened == 0 || reader.IsOpen(), "an opened file is open");
    Require(nOpened == 0 || reader.File().GetPosition() <= reader.File().GetLength(),
            "an opened file stands inside it");
    if (strName == strInput) {
        return;
    }
    Require(outcome.written.size() == 1 && outcome.written[0].strPath == strName,
            "the outcome lists the repaired copy");
    const std::vector<std::uint8_t> copy = test::ReadFileBytes(strName);
    Require(copy.size() == CInsConf::kBlockSize + input.size() &&
                std::equal(input.begin(), input.end(), copy.begin() + CInsConf::kBlockSize),
            "a repaired copy is the configuration block and the input");
}

}  // namespace

int FuzzOpen(const std::uint8_t* pData, std::size_t nSize) {
    if (nSize < 1) {
        return 0;
    }
    const std::string_view strExtension = kExtensions[pData[0] % kExtensions.size()];
    const bool bChecksum = (pData[0] & 0x80) == 0;
    const std::span<const std::uint8_t> input(pData + 1, nSize - 1);
    const std::string strInput = WriteScratchFile("input" + std::string(strExtension), input);
    for (const bool bYes : {false, true}) {
        test::CAnsweringUserInterface ui(bYes);
        CInsFile reader;
        SFileOutcome outcome;
        std::string strName = strInput;
        const int nOpened = reader.Open(strName, bChecksum, &ui, outcome);
        CheckOpened(reader, nOpened, outcome, strInput, strName, input);
    }
    CInsFile reader;
    SFileOutcome outcome;
    std::string strName = strInput;
    const int nOpened = reader.Open(strName, bChecksum, nullptr, outcome);
    Require(strName == strInput, "a silent open makes no copy");
    CheckOpened(reader, nOpened, outcome, strInput, strName, input);
    Require(test::ReadFileBytes(strInput) == std::vector<std::uint8_t>(input.begin(), input.end()),
            "the input is never changed");
    ClearScratchFolder();
    return 0;
}

}  // namespace sulvan::fuzz
