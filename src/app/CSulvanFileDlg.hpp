#pragma once
// The state and logic of the main dialog, without widgets: the files to convert, the
// conversion type, the destination folder and the options, and the Convert command that runs
// the batch. A window and the command line are two front ends over this one state.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sulvan {

class CUserInterface;

// Positions of the conversion types in the dialog's list.
namespace ConversionType {
inline constexpr int MrvToAdv = 0;  // "Corvane (.mrv) to KVT (.adv)"
inline constexpr int TrsToAdv = 1;  // "Tarsis (.trs) to KVT (.adv)"
inline constexpr int ToWpr = 2;     // "Pelora/Tarsis (.pld/.trs) to Kestra (.wpr)"
inline constexpr int None = -1;
}  // namespace ConversionType

// The text of each conversion type, by position.
inline constexpr const char* kConversionTypeTexts[] = {
    "Corvane (.mrv) to KVT (.adv)",
    "Tarsis (.trs) to KVT (.adv)",
    "Pelora/Tarsis (.pld/.trs) to Kestra (.wpr)",
};

// Tarsis firmware older than this records no burst headers.
inline constexpr double kBurstHeaderFirmware = 1.08;

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
    std::size_t nDropped = 0;             // paths beyond the list's limit
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
    // Converts every selected file, in list order, and refills the converted list. Does
    // nothing when the selected files have different extensions.
    void ConvertSelectedFiles();
    // True when every selected entry that has an extension has the same one (any case).
    bool SelectedFilesShareExtension() const;
    // Appends the type's extension to strOutput (the path without extension) and converts;
    // strOutput holds the name written afterwards. False when the file was not converted.
    bool ConvertFile(const std::string& strInput, std::string& strOutput, int nType);
    bool ConvertFileToAdv(const std::string& strInput, std::string& strOutput);
    bool ConvertFileToWpr(const std::string& strInput, std::string& strOutput);
    bool ConvertMrvToAdv(const std::string& strInput, std::string& strOutput);

    void SetProgress(int nPercent);

    // ---- State.
    std::vector<SFileEntry> m_listFiles;
    // Output names of the last Convert run.
    std::vector<std::string> m_listConverted;
    // Full paths of the selected files the last Convert run did not convert.
    std::vector<std::string> m_listNotConverted;
    std::string m_strDestFolder;  // empty: beside each input file
    int m_nConversionType = ConversionType::MrvToAdv;
    bool m_bChecksum = true;
    bool m_bBurstFiles = false;
    int m_nProgress = 0;

  private:
    void SortByStartTime();
    // The per-file driver of the conversions that read through CInsFile: open, the repair and
    // replace questions, then the burst-header repair or the conversion of nType.
    bool ConvertWithReader(const std::string& strInput, std::string& strOutput, int nType);

    CUserInterface& m_ui;
};

}  // namespace sulvan
