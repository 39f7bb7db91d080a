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

}  // namespace

COffscreenApplication::COffscreenApplication() {
    if (QCoreApplication::instance() == nullptr) {
        m_pApplication = std::make_unique<QGuiApplication>(g_nArgc, g_argv);
    }
    // Measuring a text loads the fonts now rather than with the first text drawn.
    QFontMetrics(QGuiApplication::font()).horizontalAdvance(QStringLiteral("0"));
}

COffscreenApplication::~COffscreenApplication() = default;

}  // namespace sulvan::plot
