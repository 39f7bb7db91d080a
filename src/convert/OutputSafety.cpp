#include "convert/OutputSafety.hpp"

#include "platform/CUserInterface.hpp"
#include "platform/Path.hpp"

namespace sulvan {

bool RefusesToReplaceInput(CUserInterface& ui, const std::string& strInput,
                           const std::string& strOutput) {
    if (!IsSameFile(strInput, strOutput)) {
        return false;
    }
    ui.ShowMessage(strOutput + "\r\rThe output would replace the input file.\r" +
                   "The file was not converted.");
    return true;
}

}  // namespace sulvan
