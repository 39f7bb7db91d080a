#include "platform/Path.hpp"

#include <filesystem>

#include "platform/Text.hpp"

namespace sulvan {

bool IsPathSeparator(char c) {
    return c == kPathSeparator;
}

std::size_t LastPathSeparator(std::string_view strPath) {
    return strPath.find_last_of(kPathSeparator);
}

std::string_view FileNameOf(std::string_view strPath) {
    const std::size_t nSeparator = LastPathSeparator(strPath);
    return nSeparator == std::string_view::npos ? strPath : strPath.substr(nSeparator + 1);
}

std::string_view FolderOf(std::string_view strPath) {
    const std::size_t nSeparator = LastPathSeparator(strPath);
    if (nSeparator == std::string_view::npos) {
        return {};
    }
    // The root keeps its separator: it is a folder, not "no folder".
    return strPath.substr(0, nSeparator == 0 ? 1 : nSeparator);
}

SSplitPath SplitPath(std::string_view strPath) {
    const std::string_view strName = FileNameOf(strPath);
    const std::string_view strFolder = strPath.substr(0, strPath.size() - strName.size());
    const std::size_t nDot = strName.find_last_of('.');
    if (nDot == std::string_view::npos) {
        return {std::string(strFolder), std::string(strName), {}};
    }
    return {std::string(strFolder), std::string(strName.substr(0, nDot)),
            std::string(strName.substr(nDot))};
}

std::string_view ExtensionOf(std::string_view strPath) {
    const std::string_view strName = FileNameOf(strPath);
    const std::size_t nDot = strName.find_last_of('.');
    return nDot == std::string_view::npos ? std::string_view{} : strName.substr(nDot);
}

std::string LowerExtensionOf(std::string_view strPath) {
    return LowerCased(ExtensionOf(strPath));
}

std::string_view WithoutExtension(std::string_view strPath) {
    return strPath.substr(0, strPath.size() - ExtensionOf(strPath).size());
}

std::string JoinPath(std::string_view strFolder, std::string_view strName) {
    if (strFolder.empty()) {
        return std::string(strName);
    }
    std::string strJoined(strFolder);
    strJoined += kPathSeparator;
    strJoined += strName;
    return strJoined;
}

bool IsSameFile(std::string_view strFirst, std::string_view strSecond) {
    if (MakeFullPath(strFirst) == MakeFullPath(strSecond)) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(strFirst),
                                       std::filesystem::path(strSecond), error);
}

std::string MakeFullPath(std::string_view strPath) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(strPath), error);
    if (error) {
        full = std::filesystem::path(strPath);
    }
    std::string strFull = full.lexically_normal().string();
    // "folder/" and "folder" name the same folder; keep the root itself.
    while (strFull.size() > 1 && IsPathSeparator(strFull.back())) {
        strFull.pop_back();
    }
    return strFull;
}

}  // namespace sulvan
