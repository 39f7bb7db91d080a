// The Convert command: the output name of each selected file, its per-file operation, and the
// outcome told to the front end as soon as the file is done.

#include "app/CSulvanFileDlg.hpp"
#include "app/ConversionTable.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/Path.hpp"

namespace sulvan {

void CSulvanFileDlg::ConvertSelectedFiles() {
    m_listConverted.clear();
    m_outcomes.clear();
    if (!SelectedFilesShareExtension()) {
        return;
    }
    for (const SFileEntry& entry : m_listFiles) {
        if (!entry.bSelected) {
            continue;
        }
        if (m_listConverted.size() >= kMaxFiles) {
            break;
        }
        const std::string& strInput = entry.strFullPath;
        const std::string strFolder =
            m_strDestFolder.empty() ? std::string(FolderOf(strInput)) : m_strDestFolder;
        const std::string strOutput(WithoutExtension(JoinPath(strFolder, FileNameOf(strInput))));
        SFileOutcome outcome;
        {
            CWaitCursor wait(m_ui);
            outcome = ConvertFile(strInput, strOutput, m_nConversionType);
        }
        if (!outcome.strListedName.empty()) {
            m_listConverted.push_back(outcome.strListedName);
        }
        m_ui.ReportOutcome(outcome);
        m_outcomes.push_back(std::move(outcome));
    }
}

bool CSulvanFileDlg::SelectedFilesShareExtension() const {
    std::string strReference;
    for (const SFileEntry& entry : m_listFiles) {
        if (!entry.bSelected || entry.strDisplayName.find('.') == std::string::npos) {
            continue;
        }
        const std::string strExtension = LowerExtensionOf(entry.strDisplayName);
        if (strReference.empty()) {
            strReference = strExtension;
        } else if (strExtension != strReference) {
            return false;
        }
    }
    return true;
}

SFileOutcome CSulvanFileDlg::ConvertFile(const std::string& strInput,
                                         const std::string& strOutputBase, int nType) {
    SetProgress(0);
    const SConversion* pConversion = ConversionAt(nType);
    if (pConversion == nullptr) {
        SFileOutcome outcome;
        outcome.strInput = strInput;
        outcome.Fail(std::string(), "no conversion type is chosen");
        return outcome;
    }
    SFileOutcome outcome = pConversion->convert(
        {m_ui, strInput, strOutputBase + pConversion->pOutputExtension, m_bChecksum, m_bBurstFiles,
         m_strMetadataFile, m_nDeflateLevel, m_strCommandLine});
    if (!outcome.IsFailed()) {
        SetProgress(100);
    }
    return outcome;
}

}  // namespace sulvan
