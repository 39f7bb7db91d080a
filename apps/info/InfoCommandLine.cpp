#include "InfoCommandLine.hpp"

#include <CLI/CLI.hpp>
#include <ostream>

#include "InfoReport.hpp"
#include "app/ProgramInfo.hpp"
#include "app/RecordingInfo.hpp"
#ifdef SULVAN_WITH_PLOT
#include "PlotFiles.hpp"
#endif

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
#ifdef SULVAN_WITH_PLOT
    bool bPlot = false;
    SPlotOptions plotOptions;
    CLI::Option* pPlot = app.add_flag(
        "--plot", bPlot,
        "Also draw each recording as FILE.png (run1.trs gives run1.png): each beam's velocity "
        "and amplitude, attitude, temperature and battery, damage shaded, bursts ticked");
    app.add_option("--width", plotOptions.nWidth, "Width of the PNG in pixels")
        ->check(CLI::Range(kMinPlotSize, kMaxPlotWidth))
        ->capture_default_str()
        ->needs(pPlot);
    app.add_option("--height", plotOptions.nHeight, "Height of the PNG in pixels")
        ->check(CLI::Range(kMinPlotSize, kMaxPlotHeight))
        ->capture_default_str()
        ->needs(pPlot);
    app.add_option("-d,--dest", plotOptions.strDestFolder,
                   "Folder for the PNGs (default: beside each recording)")
        ->needs(pPlot);
#endif
    app.footer(
        "Exit status: 0 when every file was inspected, 1 when a file could not be read "
        "as a recording, 2 for a usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? kExitInspected : kExitUsage;
    }
    int nStatus = kExitInspected;
#ifdef SULVAN_WITH_PLOT
    std::optional<CPlotFiles> plots;
    if (bPlot) {
        plots.emplace(plotOptions);
    }
#endif
    for (const std::string& strFile : files) {
        SRecordingInfo info;
        std::string strPng;
        std::string strPlotError;
#ifdef SULVAN_WITH_PLOT
        if (plots) {
            SPlotResult plotted = plots->Plot(strFile);
            info = std::move(plotted.info);
            strPng = std::move(plotted.strPng);
            strPlotError = std::move(plotted.strError);
        } else
#endif
        {
            info = InspectRecording(strFile);
        }
        if (bJson) {
            WriteJson(info, out, strPng);
        } else {
            WriteText(info, out, strPng);
        }
        for (const std::string* pError : {&info.strError, &strPlotError}) {
            if (!pError->empty()) {
                err << "sulvan-info: " << strFile << ": " << *pError << '\n';
                nStatus = kExitFailed;
            }
        }
    }
    return nStatus;
}

}  // namespace sulvan::info
