#include "ConvertCommandLine.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>
#include <set>

#include "COutcomeReport.hpp"
#include "app/CSulvanFileDlg.hpp"
#include "app/ConversionTable.hpp"
#include "app/ProgramInfo.hpp"
#include "platform/CBinaryFile.hpp"
#include "platform/Path.hpp"

namespace sulvan::cli {
namespace {

constexpr const char* kProgram = "sulvan-convert";

constexpr const char* kOutputHelp =
    "The names of the files written whole go to standard output, one per line (with --json,\n"
    "one JSON object per input file); questions, messages and, for each file not converted,\n"
    "one block naming it go to standard error. Exit status: 0 when every file was converted\n"
    "or its question was answered No, 1 when a file failed, 2 for a usage error.";

std::string Footer() {
    std::string strFooter = "Types:\n";
    for (const SConversion& conversion : Conversions()) {
        std::string strName = conversion.pName;
        strName.resize(std::max<std::size_t>(strName.size(), 8), ' ');
        strFooter += "  " + strName + " " + conversion.pDialogText + "\n";
    }
    return strFooter + "\n" + kOutputHelp;
}

std::string TypeNames() {
    std::string strNames;
    for (const SConversion& conversion : Conversions()) {
        strNames += (strNames.empty() ? "" : ", ") + std::string(conversion.pName);
    }
    return strNames;
}

// The conversion every file's extension points to, or -1 when they do not agree on one.
int TypeFromExtensions(const std::vector<std::string>& files) {
    int nType = -1;
    for (const std::string& strFile : files) {
        const int nMatch = ConversionForExtension(ExtensionOf(strFile));
        if (nMatch < 0 || (nType >= 0 && nType != nMatch)) {
            return -1;
        }
        nType = nMatch;
    }
    return nType;
}

std::string ExtensionsOf(const CSulvanFileDlg& dialog) {
    std::set<std::string> extensions;
    for (const SFileEntry& entry : dialog.m_listFiles) {
        if (entry.strDisplayName.find('.') != std::string::npos) {
            extensions.insert(LowerExtensionOf(entry.strDisplayName));
        }
    }
    std::string strList;
    for (const std::string& strExtension : extensions) {
        strList += (strList.empty() ? "" : ", ") + strExtension;
    }
    return strList;
}

// An argument as a shell would need it to read it back.
std::string QuotedArgument(std::string_view strArgument) {
    const bool bPlain =
        !strArgument.empty() && strArgument.find_first_not_of(
                                    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                    "0123456789-_./=:,+@%") == std::string_view::npos;
    if (bPlain) {
        return std::string(strArgument);
    }
    std::string strQuoted = "'";
    for (const char c : strArgument) {
        strQuoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return strQuoted + "'";
}

void Error(std::ostream& err, const std::string& strText) {
    err << kProgram << ": " << strText << "\n";
}

}  // namespace

int ParseConvertCommandLine(int argc, const char* const* argv, SConvertRequest& request,
                            std::ostream& out, std::ostream& err) {
    CLI::App app("Converts instrument recordings and repairs damaged ones.", kProgram);
    app.footer(Footer());
    app.set_version_flag("--version", ProgramTitle());
    std::vector<std::string> typeNames;
    for (const SConversion& conversion : Conversions()) {
        typeNames.emplace_back(conversion.pName);
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
    app.add_flag("--json", request.bJson,
                 "Tell each file's fate as one JSON object per line on standard output");
#ifdef SULVAN_WITH_NETCDF
    app.add_option("--metadata", request.strMetadataFile,
                   "netCDF: a JSON object of the station's position and further global "
                   "attributes (default: sulvan-metadata.json beside each recording)")
        ->check(CLI::ExistingFile);
    app.add_option("--deflate", request.nDeflateLevel, "netCDF: compression level, 0 to 9")
        ->check(CLI::Range(0, 9))
        ->default_val(1);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? kExitConverted : kExitUsage;
    }
    request.bChecksum = !bNoChecksum;
    // The program by its name: where it was installed says nothing about the files it wrote.
    request.strCommandLine = kProgram;
    for (int i = 1; i < argc; ++i) {
        request.strCommandLine += " " + QuotedArgument(argv[i]);
    }
    request.answers = bYes ? EAnswerPolicy::Yes : bNo ? EAnswerPolicy::No : EAnswerPolicy::Ask;
    return -1;
}

int RunConvert(const SConvertRequest& request, std::ostream& out, std::ostream& err,
               std::istream& in, STerminals terminals) {
    COutcomeReport report(out, err, request.bJson, request.bQuiet);
    // The file dialog hands full paths; so does the command line.
    std::vector<std::string> existing;
    for (const std::string& strFile : request.files) {
        const std::string strPath = MakeFullPath(strFile);
        report.NameInput(strPath, strFile);
        if (CBinaryFile::Exists(strPath)) {
            existing.push_back(strPath);
        } else {
            report.Refuse(strPath, "no such file");
        }
    }

    int nType = ConversionNamed(request.strType);
    if (request.strType.empty()) {
        nType = TypeFromExtensions(request.files);
        if (nType < 0) {
            Error(err,
                  "cannot tell the conversion type from the files' extensions; "
                  "choose one with --type: " +
                      TypeNames());
            return kExitUsage;
        }
    }

    CTerminalUserInterface ui(err, in, request.answers, terminals, request.bQuiet, report);
    CSulvanFileDlg dialog(ui);
    dialog.m_nConversionType = nType;
    dialog.m_bChecksum = request.bChecksum;
    dialog.m_bBurstFiles = request.bBurstFiles;
    dialog.m_strMetadataFile =
        request.strMetadataFile.empty() ? std::string() : MakeFullPath(request.strMetadataFile);
    dialog.m_nDeflateLevel = request.nDeflateLevel;
    dialog.m_strCommandLine = request.strCommandLine;
    if (!request.strDestination.empty()) {
        dialog.m_strDestFolder = MakeFullPath(request.strDestination);
    }
    const SAddResult added = dialog.AddFiles(existing);
    for (const std::string& strDuplicate : added.duplicates) {
        report.Refuse(strDuplicate, "not converted: a file of that name is listed already");
    }
    for (const std::string& strDropped : added.dropped) {
        report.Refuse(strDropped, "not converted: only " +
                                      std::to_string(CSulvanFileDlg::kMaxFiles) +
                                      " files are converted in one run");
    }
    if (!dialog.SelectedFilesShareExtension()) {
        Error(err, "the files have different extensions (" + ExtensionsOf(dialog) +
                       "); convert each kind in a run of its own");
        return kExitUsage;
    }

    dialog.ConvertSelectedFiles();
    return report.AnyFailed() ? kExitFailed : kExitConverted;
}

}  // namespace sulvan::cli
