#pragma once
// The program: the desktop toolkit, then the main dialog, modally, for as long as it runs.
// Nothing is read at start or kept when it ends.

#include <QApplication>

namespace sulvan::gui {

class CSulvanFileApp : public QApplication {
    Q_OBJECT

  public:
    CSulvanFileApp(int& argc, char** argv);

    // Runs the main dialog until Done, Escape or its close box; the exit status.
    int Run();
};

}  // namespace sulvan::gui
