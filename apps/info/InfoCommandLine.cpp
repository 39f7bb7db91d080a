#include "InfoCommandLine.hpp"

#include <CLI/CLI.hpp>
#include <ostream>

#include "InfoReport.hpp"
#include "app/ProgramInfo.hpp"
#include "app/RecordingInfo.hpp"

namespace sulvan::info {

int RunInfo(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app(
        "Shows what instrument recordings hold: configuration, deployment, times, "
        "records and damage. Nothing is converted, asked or written.",
        "sulvan-info");
    app.set_version_flag("--version", ProgramTitle());
    std::vector<std::string> files;
    bool bJson = false;
    app.add_option("FILE", files, "Recordings to inspect")->required();
    app.add_flag("--json", bJson, "One JSON object per file and line, for scripts");
    app.footer(
        "Exit status: 0 when every file was inspected, 1 when a file could not be read "
        "as a recording, 2 for a usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? kExitInspected : kExitUsage;
    }
    int nStatus = kExitInspected;
    for (const std::string& strFile : files) {
        const SRecordingInfo info = InspectRecording(strFile);
        if (bJson) {
            WriteJson(info, out);
        } else {
            WriteText(info, out);
        }
        if (!info.strError.empty()) {
            err << "sulvan-info: " << strFile << ": " << info.strError << '\n';
            nStatus = kExitFailed;
        }
    }
    return nStatus;
}

}  // namespace sulvan::info
