#pragma once
// sulvan-info --plot: the quick look of each recording as a PNG named after it (run1.trs gives
// run1.png), beside it or in a destination folder, written whole or not at all.

#include <memory>
#include <set>
#include <string>

#include "OffscreenApplication.hpp"
#include "app/RecordingInfo.hpp"

namespace sulvan::info {

struct SPlotOptions {
    int nWidth = 1000;
    int nHeight = 700;
    std::string strDestFolder;  // empty: beside each recording
};

// What plotting one recording gave: the inspection, from the same pass, and the PNG written or
// why none was.
struct SPlotResult {
    SRecordingInfo info;
    std::string strPng;    // the file written; empty when none was
    std::string strError;  // why no PNG was written, when the file is a recording
};

class CPlotFiles {
  public:
    explicit CPlotFiles(SPlotOptions options);

    SPlotResult Plot(const std::string& strRecording);

  private:
    std::string PngNameOf(const std::string& strRecording) const;

    std::unique_ptr<plot::COffscreenApplication> m_pApplication;  // made with the first plot
    SPlotOptions m_options;
    // PNGs written in this run: a second recording of the same name would replace one.
    std::set<std::string> m_written;
};

}  // namespace sulvan::info
