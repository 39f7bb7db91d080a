#include "FileChoosers.hpp"

#include <QFile>
#include <QFileDialog>

namespace sulvan::gui {
namespace {

constexpr const char* kSelectTitle = "Select files to convert";
constexpr const char* kFilter = "Data Files (*.pld *.trs *.mrv);;All Files (*)";

std::optional<std::vector<std::string>> SelectFiles(QWidget* pParent) {
    const QStringList picked = QFileDialog::getOpenFileNames(
        pParent, QString::fromUtf8(kSelectTitle), QString(), QString::fromUtf8(kFilter));
    if (picked.isEmpty()) {
        return std::nullopt;
    }
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(picked.size()));
    for (const QString& strPath : picked) {
        paths.push_back(QFile::encodeName(strPath).toStdString());
    }
    return paths;
}

std::string BrowseForFolder(QWidget* pParent, const std::string& strTitle,
                            const std::string& strInitial) {
    const QString strChosen = QFileDialog::getExistingDirectory(
        pParent, QString::fromStdString(strTitle), QFile::decodeName(strInitial.c_str()),
        QFileDialog::ShowDirsOnly);
    return strChosen.isEmpty() ? strInitial : QFile::encodeName(strChosen).toStdString();
}

}  // namespace

SFileChoosers DesktopFileChoosers() {
    return {SelectFiles, BrowseForFolder};
}

}  // namespace sulvan::gui
