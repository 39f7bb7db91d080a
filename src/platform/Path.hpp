#pragma once
// Path names by the host's rules. On POSIX the only separator is '/'; '\' and ':' are ordinary
// file-name characters. A port to another host changes the rules here and nowhere else.

#include <string>
#include <string_view>

namespace sulvan {

// The separator the system puts between a folder and a name.
inline constexpr char kPathSeparator = '/';

bool IsPathSeparator(char c);

// Position of the last separator, or std::string_view::npos when there is none.
std::size_t LastPathSeparator(std::string_view strPath);

// The file name: everything after the last separator (the whole path when there is none).
std::string_view FileNameOf(std::string_view strPath);

// The folder: everything before the last separator (empty when there is none; the root
// separator itself for a file in the root).
std::string_view FolderOf(std::string_view strPath);

struct SSplitPath {
    std::string strFolder;     // up to and including the last separator; may be empty
    std::string strBaseName;   // the file name without its extension
    std::string strExtension;  // from the last '.' of the file name on, or empty
};

// Splits at the last separator, then the file name at its last '.'. A '.' in a folder name is
// never taken for an extension.
SSplitPath SplitPath(std::string_view strPath);

// The path without the extension of its file name ("runs/set.2/data" stays as it is).
std::string_view WithoutExtension(std::string_view strPath);

// The extension of the file name including its '.', or empty.
std::string_view ExtensionOf(std::string_view strPath);

// The extension in lower case: what tells the kinds of file apart.
std::string LowerExtensionOf(std::string_view strPath);

// Folder and name joined by one separator; an empty folder gives the name alone.
std::string JoinPath(std::string_view strFolder, std::string_view strName);

// True when both name the same file: the same full path, or two names of one existing file.
bool IsSameFile(std::string_view strFirst, std::string_view strSecond);

// Absolute and lexically normalised ("." and ".." resolved, doubled separators folded).
std::string MakeFullPath(std::string_view strPath);

}  // namespace sulvan
