#pragma once
// The program's drawings, built into it and drawn from their SVG at whatever size is asked.

#include <QIcon>

namespace sulvan::gui {

// Caption, task bar, About box and the desktop entry.
QIcon ApplicationIcon();
// The Convert button between the two lists.
QIcon ConvertIcon();

}  // namespace sulvan::gui
