// Arbitrary bytes as a Corvane recording: the reader opens it or refuses it (a malformed probe
// configuration raises the configuration's or the parser's errors), and its chunks are walked to
// the end, every record lying in the file; then the whole conversion to .adv runs on the same
// bytes. Nothing may hang: every chunk moves the reader forward.

#include <filesystem>
#include <stdexcept>

#include "ConversionRuns.hpp"
#include "FuzzTargets.hpp"
#include "convert/CCorvaneFile.hpp"
#include "convert/MrvToAdv.hpp"
#include "platform/FileError.hpp"
#include "platform/Path.hpp"
#include "xml/XmlParser.hpp"

namespace sulvan::fuzz {

int FuzzCorvaneFile(const std::uint8_t* pData, std::size_t nSize) {
    const std::string strInput = WriteScratchFile("input.mrv", {pData, nSize});
    CCorvaneFile file;
    try {
        if (file.Open(strInput)) {
            std::uint64_t nPosition = file.Position();
            do {
                const std::span<const std::uint8_t> record = file.Data();
                Require(record.empty() || record.size() == 2 * std::size_t{file.Length()},
                        "a record is as long as its chunk says");
                Require(file.Position() <= file.FileSize(), "a chunk lies in the file");
                Require(file.Position() >= nPosition, "the walk moves forward");
                nPosition = file.Position();
            } while (file.Next());
        }
    } catch (const MyXML::ParserError&) {
    } catch (const std::logic_error&) {
    }
    test::CAnsweringUserInterface ui(true);
    const SFileOutcome outcome =
        MrvToAdv(ui, strInput, JoinPath(ScratchFolder(), "output.adv"), nullptr);
    Require(outcome.fate != EFileFate::Converted || outcome.DataRecords() > 0,
            "a converted recording holds sample records");
    ClearScratchFolder();
    return 0;
}

}  // namespace sulvan::fuzz
