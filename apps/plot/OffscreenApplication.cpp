#include "OffscreenApplication.hpp"

#include <QFontMetrics>
#include <QGuiApplication>

namespace sulvan::plot {
namespace {

// The application keeps its arguments for its whole life.
int g_nArgc = 3;
char g_program[] = "sulvan";
char g_platformOption[] = "-platform";
char g_platform[] = "offscreen";
char* g_argv[] = {g_program, g_platformOption, g_platform, nullptr};

QtMessageHandler g_previousHandler = nullptr;

// Qt tells when it makes up a runtime folder because XDG_RUNTIME_DIR is not set, as it is not
// under cron, ssh or in containers; a program that only writes images needs none, and the note
// would read as a failure on standard error.
void PassOnAllButRuntimeFolderNotes(QtMsgType type, const QMessageLogContext& context,
                                    const QString& strMessage) {
    if (type == QtWarningMsg && strMessage.startsWith(QStringLiteral("QStandardPaths: "))) {
        return;
    }
    g_previousHandler(type, context, strMessage);
}

}  // namespace

COffscreenApplication::COffscreenApplication() {
    if (QCoreApplication::instance() == nullptr) {
        g_previousHandler = qInstallMessageHandler(PassOnAllButRuntimeFolderNotes);
        m_pApplication = std::make_unique<QGuiApplication>(g_nArgc, g_argv);
    }
    // Measuring a text loads the fonts now rather than with the first text drawn.
    QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("0"));
}

COffscreenApplication::~COffscreenApplication() = default;

}  // namespace sulvan::plot
