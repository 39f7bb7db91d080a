#include "convert/OutputSafety.hpp"

#include "platform/CBinaryFile.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/Path.hpp"

namespace sulvan {

bool RefusesToReplaceInput(const std::string& strInput, const std::string& strOutput,
                           SFileOutcome& outcome) {
    if (!IsSameFile(strInput, strOutput)) {
        return false;
    }
    outcome.Fail(strOutput +
                     "\r\rThe output would replace the input file.\r"
                     "The file was not converted.",
                 "the output " + strOutput + " would replace the input file");
    return true;
}

bool ConfirmsReplacing(CUserInterface& ui, const std::string& strOutput, SFileOutcome& outcome) {
    if (!CBinaryFile::Exists(strOutput)) {
        return true;
    }
    const std::string strQuestion = strOutput + " already exists.\rDo you want to replace it?";
    if (ui.AskYesNo(strQuestion)) {
        return true;
    }
    outcome.Decline(strQuestion, strOutput,
                    std::string(FileNameOf(strOutput)) + " exists, kept (answered No)");
    return false;
}

}  // namespace sulvan
