#pragma once
// Text in a QImage needs Qt's application object for its fonts. A program that only draws into
// images makes one on the offscreen platform, so that it runs without a display.

#include <memory>

class QGuiApplication;

namespace sulvan::plot {

class COffscreenApplication {
  public:
    // Makes the application object unless the process has one already, and loads the fonts.
    COffscreenApplication();
    ~COffscreenApplication();
    COffscreenApplication(const COffscreenApplication&) = delete;
    COffscreenApplication& operator=(const COffscreenApplication&) = delete;

  private:
    std::unique_ptr<QGuiApplication> m_pApplication;
};

}  // namespace sulvan::plot
