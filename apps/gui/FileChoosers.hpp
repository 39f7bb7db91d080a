#pragma once
// How the dialog asks for files to add and for a destination folder. The desktop's file
// dialogs by default; a test hands in its own.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace sulvan::gui {

struct SFileChoosers {
    // The full paths picked, in the order the chooser gives them; none when cancelled.
    std::function<std::optional<std::vector<std::string>>(QWidget* pParent)> fnSelectFiles;
    // The folder chosen, starting at strInitial; strInitial itself when cancelled.
    std::function<std::string(QWidget* pParent, const std::string& strTitle,
                              const std::string& strInitial)>
        fnBrowseForFolder;
};

// "Select files to convert" (data files or all files, several at once, existing ones only) and
// a chooser of file-system folders with a box to type a path into.
SFileChoosers DesktopFileChoosers();

}  // namespace sulvan::gui
