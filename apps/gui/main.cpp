#include "CSulvanFileApp.hpp"

int main(int argc, char** argv) {
    sulvan::gui::CSulvanFileApp app(argc, argv);
    return app.Run();
}
