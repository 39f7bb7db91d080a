#include "PlotFiles.hpp"

#include <QFile>
#include <QImageWriter>
#include <QSaveFile>
#include <future>

#include "PaletteImage.hpp"
#include "RecordingPlot.hpp"
#include "platform/Path.hpp"

namespace sulvan::info {
namespace {

// Qt's PNG writer deflates at zlib level (100 - quality) * 9 / 91, 9 by default: with the
// picture as a palette image, level 1 writes it in a few milliseconds and a quarter larger.
constexpr int kPngQuality = 80;

}  // namespace

CPlotFiles::CPlotFiles(SPlotOptions options) : m_options(std::move(options)) {}

SPlotResult CPlotFiles::Plot(const std::string& strRecording) {
    const QSize size(m_options.nWidth, m_options.nHeight);
    // The pass reads the recording on a thread of its own while Qt starts and loads its fonts
    // here, so that on two cores the start costs no time.
    std::future<std::optional<SQuickLook>> pass = std::async(std::launch::async, [&] {
        return LookAtRecording(strRecording, plot::PlotColumns(size.width()));
    });
    if (!m_pApplication) {
        m_pApplication = std::make_unique<plot::COffscreenApplication>();
    }
    std::optional<SQuickLook> look = pass.get();
    SPlotResult result;
    if (!look->info.strError.empty()) {
        result.info = std::move(look->info);
        return result;
    }
    const QImage image = plot::ToPaletteIfFewColours(plot::DrawRecordingPlot(*look, size));
    result.info = std::move(look->info);
    const std::string strPng = PngNameOf(strRecording);
    const std::string strFullPng = MakeFullPath(strPng);
    if (m_written.count(strFullPng) != 0) {
        result.strError = strPng + " was written for another recording of this run already";
        return result;
    }
    // Written to a temporary file that replaces the PNG only once it is complete.
    QSaveFile file(QFile::decodeName(strPng.c_str()));
    QImageWriter writer(&file, "png");
    writer.setQuality(kPngQuality);
    if (!file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit()) {
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
