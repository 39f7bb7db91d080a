#include "CSulvanFileApp.hpp"

#include "CSulvanFileDlg.hpp"
#include "Icons.hpp"

namespace sulvan::gui {

CSulvanFileApp::CSulvanFileApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The desktop entry's name: the desktop finds the program's icon and entry through it.
    setApplicationName(QStringLiteral("sulvan-file-converter"));
    setDesktopFileName(QStringLiteral("sulvan-file-converter"));
    setWindowIcon(ApplicationIcon());
}

int CSulvanFileApp::Run() {
    CSulvanFileDlg dialog;
    dialog.exec();
    return 0;
}

}  // namespace sulvan::gui
