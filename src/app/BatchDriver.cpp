// The Convert command: output names, the per-file drivers and their questions.

#include <cctype>
#include <string_view>

#include "app/CSulvanFileDlg.hpp"
#include "app/ProgressTarget.hpp"
#include "config/CInsConf.hpp"
#include "convert/BurstHeaderRepair.hpp"
#include "convert/ConvertToWpr.hpp"
#include "convert/MrvToAdv.hpp"
#include "convert/OutputSafety.hpp"
#include "convert/TrsToAdv.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/CUserInterface.hpp"
#include "platform/Path.hpp"
#include "reader/CInsFile.hpp"

namespace sulvan {
namespace {

constexpr const char* kAdvExtension = ".adv";
constexpr const char* kWprExtension = ".wpr";
constexpr const char* kRepairedSuffix = "_new.trs";

std::string LowerExtensionOf(std::string_view strName) {
    const std::size_t nDot = strName.find_last_of('.');
    std::string strExtension(strName.substr(nDot + 1));
    for (char& c : strExtension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return strExtension;
}

// The copy a repair writes is named after the conversion's output: the extension at the end
// of the name becomes "_new.trs"; the same text elsewhere in the path stays.
void NameRepairedCopy(std::string& strOutput, std::string_view strExtension) {
    const std::string_view strPath(strOutput);
    if (strPath.size() >= strExtension.size() &&
        strPath.substr(strPath.size() - strExtension.size()) == strExtension) {
        strOutput.replace(strOutput.size() - strExtension.size(), strExtension.size(),
                          kRepairedSuffix);
    }
}

bool AsksToReplace(CUserInterface& ui, const std::string& strOutput) {
    return !CBinaryFile::Exists(strOutput) ||
           ui.AskYesNo(strOutput + " already exists.\rDo you want to replace it?");
}

}  // namespace

void CSulvanFileDlg::ConvertSelectedFiles() {
    m_listConverted.clear();
    m_listNotConverted.clear();
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
        std::string strOutput(WithoutExtension(JoinPath(strFolder, FileNameOf(strInput))));
        CWaitCursor wait(m_ui);
        if (ConvertFile(strInput, strOutput, m_nConversionType)) {
            m_listConverted.emplace_back(FileNameOf(strOutput));
        } else {
            m_listNotConverted.push_back(strInput);
        }
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

bool CSulvanFileDlg::ConvertFile(const std::string& strInput, std::string& strOutput, int nType) {
    SetProgress(0);
    bool bConverted = true;
    switch (nType) {
        case ConversionType::MrvToAdv:
            strOutput += kAdvExtension;
            bConverted = ConvertMrvToAdv(strInput, strOutput);
            break;
        case ConversionType::TrsToAdv:
            strOutput += kAdvExtension;
            bConverted = ConvertFileToAdv(strInput, strOutput);
            break;
        case ConversionType::ToWpr:
            strOutput += kWprExtension;
            bConverted = ConvertFileToWpr(strInput, strOutput);
            break;
        default:
            break;
    }
    if (!bConverted) {
        return false;
    }
    SetProgress(100);
    return true;
}

bool CSulvanFileDlg::ConvertFileToAdv(const std::string& strInput, std::string& strOutput) {
    return ConvertWithReader(strInput, strOutput, ConversionType::TrsToAdv);
}

bool CSulvanFileDlg::ConvertFileToWpr(const std::string& strInput, std::string& strOutput) {
    return ConvertWithReader(strInput, strOutput, ConversionType::ToWpr);
}

bool CSulvanFileDlg::ConvertWithReader(const std::string& strInput, std::string& strOutput,
                                       int nType) {
    if (RefusesToReplaceInput(m_ui, strInput, strOutput)) {
        return false;
    }
    CWaitCursor wait(m_ui);
    CInsFile reader;
    std::string strName = strInput;
    if (reader.Open(strName, m_bChecksum, &m_ui) == 0) {
        m_ui.ShowMessage("Invalid file.\r\r" + strInput);
        return false;
    }
    const bool bToAdv = nType == ConversionType::TrsToAdv;
    const bool bLacksBurstHeaders = reader.GetFamily() == Family::Tarsis &&
                                    reader.Conf().GetFirmwareVersion() < kBurstHeaderFirmware;
    if (bLacksBurstHeaders) {
        if (!m_ui.AskYesNo("Burst headers missing in file.\r\rRepair file?")) {
            return true;
        }
        NameRepairedCopy(strOutput, bToAdv ? kAdvExtension : kWprExtension);
    }
    // Burst files are named after the output; the first of them stands for the set.
    const bool bBurstFiles =
        bToAdv && !bLacksBurstHeaders && WritesBurstFiles(reader, m_bBurstFiles);
    if (!AsksToReplace(m_ui, bBurstFiles ? BurstFileName(strOutput, 1) : strOutput)) {
        return true;
    }
    if (bLacksBurstHeaders) {
        return RepairBurstHeaders(m_ui, reader, strOutput, reader.Config().m_nBurstSamples);
    }
    if (bToAdv) {
        return TrsToAdv(m_ui, reader, strOutput, m_bBurstFiles);
    }
    SWprOptions options;
    options.bChecksumControl = m_bChecksum;
    options.progress = sulvan::SetProgress;
    return ConvertToWpr(m_ui, reader, strOutput, options);
}

bool CSulvanFileDlg::ConvertMrvToAdv(const std::string& strInput, std::string& strOutput) {
    if (RefusesToReplaceInput(m_ui, strInput, strOutput)) {
        return false;
    }
    return MrvToAdv(m_ui, strInput, strOutput, sulvan::SetProgress);
}

}  // namespace sulvan
