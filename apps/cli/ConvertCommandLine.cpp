#include "ConvertCommandLine.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <ostream>
#include <set>

#include "app/CSulvanFileDlg.hpp"
#include "app/ProgramInfo.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/Path.hpp"

namespace sulvan::cli {
namespace {

constexpr const char* kProgram = "sulvan-convert";

struct SNamedType {
    const char* pName;
    const char* pExtension;  // the input extension it is taken for
    int nPosition;
};

constexpr SNamedType kTypes[] = {
    {"mrv-adv", ".mrv", ConversionType::MrvToAdv},
    {"trs-adv", ".trs", ConversionType::TrsToAdv},
    {"wpr", ".pld", ConversionType::ToWpr},
};

constexpr const char* kFooter =
    "Types:\n"
    "  mrv-adv  Corvane (.mrv) to KVT (.adv)\n"
    "  trs-adv  Tarsis (.trs) to KVT (.adv)\n"
    "  wpr      Pelora/Tarsis (.pld/.trs) to Kestra (.wpr)\n"
    "\n"
    "Converted output names go to standard output, one per line; messages and questions\n"
    "to standard error. Exit status: 0 when every file was converted or its question was\n"
    "answered No, 1 when a file could not be converted, 2 for a usage error.";

std::string LowerExtension(const std::string& strPath) {
    std::string strExtension(ExtensionOf(strPath));
    std::transform(strExtension.begin(), strExtension.end(), strExtension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return strExtension;
}

// The type every file's extension points to, or none when they do not agree on one.
const SNamedType* TypeFromExtensions(const std::vector<std::string>& files) {
    const SNamedType* pType = nullptr;
    for (const std::string& strFile : files) {
        const std::string strExtension = LowerExtension(strFile);
        const auto* pMatch = std::find_if(std::begin(kTypes), std::end(kTypes), [&](auto& type) {
            return strExtension == type.pExtension;
        });
        if (pMatch == std::end(kTypes) || (pType != nullptr && pType != pMatch)) {
            return nullptr;
        }
        pType = pMatch;
    }
    return pType;
}

int TypePosition(const std::string& strName) {
    for (const SNamedType& type : kTypes) {
        if (strName == type.pName) {
            return type.nPosition;
        }
    }
    return ConversionType::None;
}

std::string ExtensionsOf(const CSulvanFileDlg& dialog) {
    std::set<std::string> extensions;
    for (const SFileEntry& entry : dialog.m_listFiles) {
        if (entry.strDisplayName.find('.') != std::string::npos) {
            extensions.insert(LowerExtension(entry.strDisplayName));
        }
    }
    std::string strList;
    for (const std::string& strExtension : extensions) {
        strList += (strList.empty() ? "" : ", ") + strExtension;
    }
    return strList;
}

void Error(std::ostream& err, const std::string& strText) {
    err << kProgram << ": " << strText << "\n";
}

}  // namespace

int ParseConvertCommandLine(int argc, const char* const* argv, SConvertRequest& request,
                            std::ostream& out, std::ostream& err) {
    CLI::App app("Converts instrument recordings and repairs damaged ones.", kProgram);
    app.footer(kFooter);
    app.set_version_flag("--version", ProgramTitle());
    std::vector<std::string> typeNames;
    for (const SNamedType& type : kTypes) {
        typeNames.emplace_back(type.pName);
    }
    app.add_option("FILE", request.files, "Recordings to convert")->required();
    app.add_option("-t,--type", request.strType,
                   "Conversion type (default: from the files' extension)")
        ->check(CLI::IsMember(typeNames));
    app.add_option("-d,--dest", request.strDestination,
                   "Destination folder (default: the folder of the first file)");
    app.add_flag("--burst-files", request.bBurstFiles, "Write every burst to a file of its own");
    bool bNoChecksum = false;
    app.add_flag("--no-checksum", bNoChecksum, "Take configuration records with wrong checksums");
    bool bYes = false;
    bool bNo = false;
    auto* pYes = app.add_flag("-y,--yes", bYes, "Answer Yes (OK) to every question");
    app.add_flag("-n,--no", bNo, "Answer No (Cancel) to every question")->excludes(pYes);
    app.add_flag("-q,--quiet", request.bQuiet, "Show no messages, only errors");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? kExitConverted : kExitUsage;
    }
    request.bChecksum = !bNoChecksum;
    request.answers = bYes ? EAnswerPolicy::Yes : bNo ? EAnswerPolicy::No : EAnswerPolicy::Ask;
    return -1;
}

int RunConvert(const SConvertRequest& request, std::ostream& out, std::ostream& err,
               std::istream& in, STerminals terminals) {
    // The file dialog hands full paths; so does the command line.
    std::vector<std::string> existing;
    std::size_t nFailed = 0;
    for (const std::string& strFile : request.files) {
        const std::string strPath = MakeFullPath(strFile);
        if (CBinaryFile::Exists(strPath)) {
            existing.push_back(strPath);
        } else {
            Error(err, strFile + ": no such file");
            ++nFailed;
        }
    }

    int nType = TypePosition(request.strType);
    if (request.strType.empty()) {
        const SNamedType* pType = TypeFromExtensions(request.files);
        if (pType == nullptr) {
            Error(err,
                  "cannot tell the conversion type from the files' extensions; "
                  "choose one with --type: mrv-adv, trs-adv or wpr");
            return kExitUsage;
        }
        nType = pType->nPosition;
    }

    CTerminalUserInterface ui(err, in, request.answers, terminals, request.bQuiet);
    CSulvanFileDlg dialog(ui);
    dialog.m_nConversionType = nType;
    dialog.m_bChecksum = request.bChecksum;
    dialog.m_bBurstFiles = request.bBurstFiles;
    if (!request.strDestination.empty()) {
        dialog.m_strDestFolder = MakeFullPath(request.strDestination);
    }
    const SAddResult added = dialog.AddFiles(existing);
    for (const std::string& strDuplicate : added.duplicates) {
        ui.Warn("skipping " + strDuplicate + ": a file of that name is listed already");
    }
    if (added.nDropped > 0) {
        Error(err, "only " + std::to_string(CSulvanFileDlg::kMaxFiles) +
                       " files are converted in one run; " + std::to_string(added.nDropped) +
                       " were left out");
        nFailed += added.nDropped;
    }
    if (!dialog.SelectedFilesShareExtension()) {
        Error(err, "the files have different extensions (" + ExtensionsOf(dialog) +
                       "); convert each kind in a run of its own");
        return kExitUsage;
    }

    dialog.ConvertSelectedFiles();
    for (const std::string& strConverted : dialog.m_listConverted) {
        out << strConverted << "\n";
    }
    // Named even when quiet: which files failed is the one thing a script needs to know.
    for (const std::string& strFailed : dialog.m_listNotConverted) {
        Error(err, strFailed + ": not converted");
    }
    nFailed += dialog.m_listNotConverted.size();
    return nFailed == 0 ? kExitConverted : kExitFailed;
}

}  // namespace sulvan::cli
