#include "Icons.hpp"

#include <QString>

namespace sulvan::gui {

QIcon ApplicationIcon() {
    return QIcon(QStringLiteral(":/icons/sulvan-file-converter.svg"));
}

QIcon ConvertIcon() {
    return QIcon(QStringLiteral(":/icons/convert.svg"));
}

}  // namespace sulvan::gui
