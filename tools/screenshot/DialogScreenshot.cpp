// Pictures the main dialog as a person sees it after a conversion: adds the recordings given,
// picks the Tarsis conversion and a destination folder through the dialog's own controls,
// presses Convert, selects the first recording alone so that the quick look shows it, and
// saves the window as a PNG. A message box on the way fails the run, so the picture never
// shows a half-finished conversion.
//
// Usage: sulvan-dialog-screenshot OUTPUT.png DESTINATION_FOLDER RECORDING...

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "CQuickLookPane.hpp"
#include "CSulvanFileApp.hpp"
#include "CSulvanFileDlg.hpp"
#include "app/CSulvanFileDlg.hpp"
#include "app/ConversionTable.hpp"

namespace {

QAbstractButton* FindButton(const QWidget& window, const QString& strName) {
    for (QAbstractButton* pButton : window.findChildren<QAbstractButton*>()) {
        if (pButton->text() == strName || pButton->accessibleName() == strName) {
            return pButton;
        }
    }
    std::fprintf(stderr, "sulvan-dialog-screenshot: no button %s\n", qPrintable(strName));
    std::exit(1);
}

void FailOnMessageBox() {
    if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        std::fprintf(stderr, "sulvan-dialog-screenshot: unexpected message:\n%s\n",
                     qPrintable(pBox->text()));
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    sulvan::gui::CSulvanFileApp app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: sulvan-dialog-screenshot OUTPUT.png DESTINATION_FOLDER "
                     "RECORDING...\n");
        return 2;
    }
    const QString strOutput = QString::fromLocal8Bit(argv[1]);
    const std::string strDestination = argv[2];
    const std::vector<std::string> recordings(argv + 3, argv + argc);

    sulvan::gui::SFileChoosers choosers{
        [&](QWidget*) { return std::optional(recordings); },
        [&](QWidget*, const std::string&, const std::string&) { return strDestination; }};
    sulvan::gui::CSulvanFileDlg dialog(nullptr, choosers);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, FailOnMessageBox);
    watchdog.start(200);

    dialog.show();
    FindButton(dialog, QStringLiteral("&Add file..."))->click();
    FindButton(dialog, QStringLiteral("..."))->click();
    dialog.findChild<QComboBox*>()->setCurrentIndex(
        sulvan::PositionOf(sulvan::EConversion::TrsToAdv));
    FindButton(dialog, QStringLiteral("Convert"))->click();
    auto* pFiles = dialog.findChild<QListWidget*>();
    pFiles->clearSelection();
    pFiles->item(0)->setSelected(true);
    const auto* pQuickLook = dialog.findChild<sulvan::gui::CQuickLookPane*>();
    QElapsedTimer waited;
    waited.start();
    while (pQuickLook->Picture().isNull() && waited.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QApplication::processEvents();
    if (!dialog.grab().save(strOutput, "PNG")) {
        std::fprintf(stderr, "sulvan-dialog-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
