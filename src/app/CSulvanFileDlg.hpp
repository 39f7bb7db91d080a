#pragma once
// The state and logic of the main dialog, without widgets: the files to convert, the
// conversion type, the destination folder and the options, and the Convert command that runs
// the batch. A window and the command line are two front ends over this one state.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileOutcome.hpp"

namespace sulvan {

class CUserInterface;

struct SFileEntry {
    std::string strDisplayName;  // the file name alone
    std::string strFullPath;
    bool bSelected = false;
    // Read from the file's head once, when the list is first sorted with it.
    std::optional<double> dStartTime;
};

// What Add files did not take.
struct SAddResult {
    std::vector<std::string> duplicates;  // paths whose name is listed already
    std::vector<std::string> dropped;     // paths beyond the list's limit
};

class CSulvanFileDlg {
  public:
    static constexpr std::size_t kMaxFiles = 2048;

    // Registers the dialog as the progress target.
    explicit CSulvanFileDlg(CUserInterface& ui);
    ~CSulvanFileDlg();
    CSulvanFileDlg(const CSulvanFileDlg&) = delete;
    CSulvanFileDlg& operator=(const CSulvanFileDlg&) = delete;

    // ---- Files list.
    // Adds the paths in the order given, up to the limit, skipping names already listed (in
    // any letter case); the folder of the first file becomes the destination when none is
    // set. Then sorts the list by start time and selects every entry.
    SAddResult AddFiles(const std::vector<std::string>& paths);
    void RemoveSelected();
    void SelectAll();
    std::size_t FileCount() const { return m_listFiles.size(); }

    // ---- Convert.
    // Converts every selected file, in list order, tells the user interface each file's outcome
    // as soon as it is known, and refills the converted list and the outcomes. Does nothing
    // when the selected files have different extensions.
    void ConvertSelectedFiles();
    // True when every selected entry that has an extension has the same one (any case).
    bool SelectedFilesShareExtension() const;
    // Converts with the conversion at position nType of the table, into strOutputBase (the
    // output path without extension) followed by the conversion's extension.
    SFileOutcome ConvertFile(const std::string& strInput, const std::string& strOutputBase,
                             int nType);

    void SetProgress(int nPercent);

    // ---- State.
    std::vector<SFileEntry> m_listFiles;
    // Output names of the last Convert run, as the outcomes list them.
    std::vector<std::string> m_listConverted;
    // What happened to each file of the last Convert run, in order.
    std::vector<SFileOutcome> m_outcomes;
    std::string m_strDestFolder;  // empty: beside each input file
    int m_nConversionType = 0;    // a position of the conversion table
    bool m_bChecksum = true;
    bool m_bBurstFiles = false;
    int m_nProgress = 0;
    // The netCDF export's options; the window keeps the defaults (see SFileJob).
    std::string m_strMetadataFile;
    int m_nDeflateLevel = 1;
    std::string m_strCommandLine = "sulvan-file-converter";

  private:
    void SortByStartTime();

    CUserInterface& m_ui;
};

}  // namespace sulvan
