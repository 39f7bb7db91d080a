#include "CSulvanFileDlg.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>

#include "CAboutDlg.hpp"
#include "CQtUserInterface.hpp"
#include "CQuickLookPane.hpp"
#include "CTextProgressCtrl.hpp"
#include "DialogUnits.hpp"
#include "Icons.hpp"
#include "app/ConversionTable.hpp"
#include "app/ProgramInfo.hpp"

namespace sulvan::gui {
namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 223;
constexpr const char* kBrowseTitle = "Save in folder";

QString FromPath(const std::string& strPath) {
    return QFile::decodeName(strPath.c_str());
}

std::string ToPath(const QString& strPath) {
    return QFile::encodeName(strPath).toStdString();
}

// Puts controls at their places, given in dialog units of the dialog's font below the menu bar.
class CPlacer {
  public:
    CPlacer(const QFont& font, int nTop) : m_units(font), m_nTop(nTop) {}

    template <class TWidget>
    TWidget* operator()(TWidget* pWidget, const SDialogRect& rect) const {
        pWidget->setGeometry(m_units.ToPixels(rect).translated(0, m_nTop));
        return pWidget;
    }
    QSize ClientSize() const {
        return {m_units.ToPixelsX(kClientWidth), m_units.ToPixelsY(kClientHeight) + m_nTop};
    }

  private:
    CDialogUnits m_units;
    int m_nTop;
};

// One column, no header; the selection stays as visible when the list loses the focus.
QListWidget* MakeList(QWidget* pParent, const char* pName,
                      QAbstractItemView::SelectionMode selection) {
    auto* pList = new QListWidget(pParent);
    pList->setAccessibleName(QString::fromUtf8(pName));
    pList->setSelectionMode(selection);
    QPalette palette = pList->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    pList->setPalette(palette);
    return pList;
}

}  // namespace

CSulvanFileDlg::CSulvanFileDlg(CUserInterface* pUi, SFileChoosers choosers, QWidget* pParent)
    : QDialog(pParent),
      m_pProgress(new CTextProgressCtrl(this)),
      m_choosers(std::move(choosers)),
      m_pOwnUi(pUi == nullptr ? std::make_unique<CQtUserInterface>(this, *m_pProgress) : nullptr),
      m_state(pUi == nullptr ? *m_pOwnUi : *pUi) {
    CreateControls();
    setWindowTitle(QString::fromStdString(ProgramTitle()));
    setWindowIcon(ApplicationIcon());
    for (const SConversion& conversion : Conversions()) {
        m_pComboType->addItem(QString::fromUtf8(conversion.pDialogText));
    }
    m_pProgress->SetRange32(0, 100);
    m_pProgress->SetPos(0);
    m_pProgress->SetStep(1);
    WriteControls();
}

CSulvanFileDlg::~CSulvanFileDlg() = default;

void CSulvanFileDlg::reject() {
    // The conversion runs on this thread and repaints as it goes; the close box can reach the
    // dialog then, but the state is busy until the conversion returns.
    if (!m_bConverting) {
        QDialog::reject();
    }
}

void CSulvanFileDlg::CreateControls() {
    auto* pMenuBar = new QMenuBar(this);
    pMenuBar->addMenu(QStringLiteral("&Help"))
        ->addAction(QStringLiteral("&About %1...").arg(QString::fromUtf8(kProgramName)), this,
                    &CSulvanFileDlg::ShowAbout);
    const int nMenuHeight = pMenuBar->sizeHint().height();
    pMenuBar->setGeometry(0, 0, 0, nMenuHeight);
    const CPlacer place(font(), nMenuHeight);
    const auto label = [this](const char* pText) {
        return new QLabel(QString::fromUtf8(pText), this);
    };
    const auto button = [this](const char* pText, void (CSulvanFileDlg::*pCommand)()) {
        auto* pButton = new QPushButton(QString::fromUtf8(pText), this);
        connect(pButton, &QPushButton::clicked, this, pCommand);
        return pButton;
    };

    place(label("Files to convert:"), {7, 7, 200, 8});
    m_pListFiles = place(MakeList(this, "Files to convert", QAbstractItemView::ExtendedSelection),
                         {7, 18, 200, 107});
    place(label("Converted files:"), {253, 7, 200, 8});
    m_pListConverted = place(MakeList(this, "Converted files", QAbstractItemView::SingleSelection),
                             {253, 18, 200, 107});
    place(button("&Add file...", &CSulvanFileDlg::AddFiles), {7, 130, 50, 14});
    place(button("&Remove", &CSulvanFileDlg::RemoveFiles), {64, 130, 50, 14});
    place(button("S&elect All", &CSulvanFileDlg::SelectAllFiles), {120, 130, 50, 14});
    place(label("Conversion type:"), {7, 153, 61, 8});
    m_pComboType = place(new QComboBox(this), {7, 164, 200, 12});
    m_pComboType->setAccessibleName(QStringLiteral("Conversion type"));
    place(label("Destination folder:"), {253, 153, 134, 8});
    m_pEditDestFolder = place(new QLineEdit(this), {253, 164, 184, 12});
    m_pEditDestFolder->setAccessibleName(QStringLiteral("Destination folder"));
    place(button("...", &CSulvanFileDlg::BrowseForDestination), {438, 164, 15, 12})
        ->setToolTip(QString::fromUtf8(kBrowseTitle));
    m_pCheckChecksum =
        place(new QCheckBox(QStringLiteral("&Checksum control"), this), {7, 186, 73, 10});
    m_pCheckBurstFiles =
        place(new QCheckBox(QStringLiteral("&Burst files"), this), {98, 186, 47, 10});
    place(m_pProgress, {7, 202, 389, 14})->setAccessibleName(QStringLiteral("Progress"));
    place(button("Done", &CSulvanFileDlg::reject), {403, 202, 50, 14})->setAutoDefault(false);
    place(label("Convert"), {217, 43, 27, 8});
    QPushButton* pConvert = place(button("", &CSulvanFileDlg::Convert), {217, 58, 26, 20});
    pConvert->setIcon(ConvertIcon());
    pConvert->setIconSize(pConvert->size() * 3 / 4);
    pConvert->setAccessibleName(QStringLiteral("Convert"));
    pConvert->setToolTip(QStringLiteral("Convert"));
    // Enter converts unless another button has the focus.
    pConvert->setDefault(true);

    pMenuBar->setFixedWidth(place.ClientSize().width());
    // The quick look goes below the original area, which keeps its size and places.
    const QSize client = place.ClientSize();
    m_pQuickLook = new CQuickLookPane(client.width(), this);
    m_pQuickLook->move(0, client.height());
    const auto fit = [this, client] {
        setFixedSize(client.width(), client.height() + m_pQuickLook->height());
    };
    connect(m_pQuickLook, &CQuickLookPane::HeightChanged, this, fit);
    fit();
    connect(m_pListFiles, &QListWidget::itemSelectionChanged, this, &CSulvanFileDlg::ShowQuickLook);
}

void CSulvanFileDlg::AddFiles() {
    ReadControls();
    const std::optional<std::vector<std::string>> picked = m_choosers.fnSelectFiles(this);
    // Sorted and all selected after a cancel too.
    m_state.AddFiles(picked.value_or(std::vector<std::string>()));
    WriteControls();
    m_pListFiles->setFocus();
}

void CSulvanFileDlg::RemoveFiles() {
    ReadControls();
    m_state.RemoveSelected();
    WriteControls();
}

void CSulvanFileDlg::SelectAllFiles() {
    ReadControls();
    m_state.SelectAll();
    WriteControls();
    m_pListFiles->setFocus();
}

void CSulvanFileDlg::BrowseForDestination() {
    ReadControls();
    m_state.m_strDestFolder =
        m_choosers.fnBrowseForFolder(this, kBrowseTitle, m_state.m_strDestFolder);
    WriteControls();
}

void CSulvanFileDlg::Convert() {
    ReadControls();
    m_pListConverted->clear();
    m_bConverting = true;
    m_state.ConvertSelectedFiles();
    m_bConverting = false;
    WriteControls();
}

void CSulvanFileDlg::ShowAbout() {
    CAboutDlg about(windowTitle(), this);
    about.exec();
}

void CSulvanFileDlg::ShowQuickLook() {
    const QList<QListWidgetItem*> selected = m_pListFiles->selectedItems();
    // No row for none or several selected (-1 turns into a size no list has), and none past the
    // state's end while the list is refilled from a state that has changed already.
    const auto nRow =
        static_cast<std::size_t>(selected.size() == 1 ? m_pListFiles->row(selected.front()) : -1);
    m_pQuickLook->ShowRecording(
        nRow < m_state.m_listFiles.size() ? m_state.m_listFiles[nRow].strFullPath : std::string());
}

void CSulvanFileDlg::ReadControls() {
    m_state.m_bChecksum = m_pCheckChecksum->isChecked();
    m_state.m_bBurstFiles = m_pCheckBurstFiles->isChecked();
    m_state.m_strDestFolder = ToPath(m_pEditDestFolder->text());
    m_state.m_nConversionType = m_pComboType->currentIndex();
    for (std::size_t i = 0; i < m_state.m_listFiles.size(); ++i) {
        m_state.m_listFiles[i].bSelected = m_pListFiles->item(static_cast<int>(i))->isSelected();
    }
}

void CSulvanFileDlg::WriteControls() {
    m_pCheckChecksum->setChecked(m_state.m_bChecksum);
    m_pCheckBurstFiles->setChecked(m_state.m_bBurstFiles);
    m_pEditDestFolder->setText(FromPath(m_state.m_strDestFolder));
    m_pComboType->setCurrentIndex(m_state.m_nConversionType);
    m_pListFiles->clear();
    for (const SFileEntry& entry : m_state.m_listFiles) {
        auto* pItem = new QListWidgetItem(FromPath(entry.strDisplayName), m_pListFiles);
        pItem->setToolTip(FromPath(entry.strFullPath));
        pItem->setSelected(entry.bSelected);
    }
    m_pListConverted->clear();
    for (const std::string& strConverted : m_state.m_listConverted) {
        m_pListConverted->addItem(FromPath(strConverted));
    }
    m_pProgress->SetPos(m_state.m_nProgress);
}

}  // namespace sulvan::gui
