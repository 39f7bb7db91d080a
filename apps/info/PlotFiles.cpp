#include "PlotFiles.hpp"

#include <QFile>
#include <QImageWriter>
#include <QSaveFile>

#include "RecordingPlot.hpp"
#include "platform/Path.hpp"

namespace sulvan::info {

CPlotFiles::CPlotFiles(SPlotOptions options) : m_options(std::move(options)) {}

SPlotResult CPlotFiles::Plot(const std::string& strRecording) {
    std::optional<plot::SQuickLookPicture> picture =
        plot::DrawQuickLook(strRecording, QSize(m_options.nWidth, m_options.nHeight));
    SPlotResult result;
    result.info = std::move(picture->info);
    if (!result.info.strError.empty()) {
        return result;
    }
    const std::string strPng = PngNameOf(strRecording);
    const std::string strFullPng = MakeFullPath(strPng);
    if (m_written.count(strFullPng) != 0) {
        result.strError = strPng + " was written for another recording of this run already";
        return result;
    }
    // Written to a temporary file that replaces the PNG only once it is complete.
    QSaveFile file(QFile::decodeName(strPng.c_str()));
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(picture->image) || !file.commit()) {
        const QString strReason =
            file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        result.strError = "cannot write " + strPng + ": " + strReason.toStdString();
        return result;
    }
    m_written.insert(strFullPng);
    result.strPng = strPng;
    return result;
}

std::string CPlotFiles::PngNameOf(const std::string& strRecording) const {
    const SSplitPath split = SplitPath(strRecording);
    const std::string strName = split.strBaseName + ".png";
    return m_options.strDestFolder.empty() ? split.strFolder + strName
                                           : JoinPath(m_options.strDestFolder, strName);
}

}  // namespace sulvan::info
