#include "app/CSulvanFileDlg.hpp"

#include <algorithm>

#include "app/ProgressTarget.hpp"
#include "app/StartTime.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/Path.hpp"
#include "platform/Text.hpp"

namespace sulvan {

CSulvanFileDlg::CSulvanFileDlg(CUserInterface& ui) : m_ui(ui) {
    RegisterProgressTarget(this);
}

CSulvanFileDlg::~CSulvanFileDlg() {
    UnregisterProgressTarget(this);
}

SAddResult CSulvanFileDlg::AddFiles(const std::vector<std::string>& paths) {
    SAddResult result;
    for (const std::string& strPath : paths) {
        if (m_listFiles.size() >= kMaxFiles) {
            result.dropped.push_back(strPath);
            continue;
        }
        if (m_strDestFolder.empty() && LastPathSeparator(strPath) != std::string::npos) {
            m_strDestFolder = FolderOf(strPath);
        }
        const std::string strName(FileNameOf(strPath));
        const bool bListed =
            std::any_of(m_listFiles.begin(), m_listFiles.end(), [&](const SFileEntry& entry) {
                return EqualIgnoringCase(entry.strDisplayName, strName);
            });
        if (bListed) {
            result.duplicates.push_back(strPath);
            continue;
        }
        m_listFiles.push_back({strName, strPath, false, std::nullopt});
    }
    SortByStartTime();
    SelectAll();
    return result;
}

void CSulvanFileDlg::RemoveSelected() {
    std::erase_if(m_listFiles, [](const SFileEntry& entry) { return entry.bSelected; });
}

void CSulvanFileDlg::SelectAll() {
    for (SFileEntry& entry : m_listFiles) {
        entry.bSelected = true;
    }
}

void CSulvanFileDlg::SetProgress(int nPercent) {
    m_nProgress = nPercent;
    m_ui.SetProgress(nPercent);
}

void CSulvanFileDlg::SortByStartTime() {
    for (SFileEntry& entry : m_listFiles) {
        if (!entry.dStartTime) {
            entry.dStartTime = ReadStartTime(entry.strFullPath);
        }
    }
    // Stable: files of equal start time keep the order in which they were added.
    std::stable_sort(
        m_listFiles.begin(), m_listFiles.end(),
        [](const SFileEntry& a, const SFileEntry& b) { return *a.dStartTime < *b.dStartTime; });
}

}  // namespace sulvan
