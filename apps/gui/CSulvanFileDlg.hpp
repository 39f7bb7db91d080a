#pragma once
// The main window: the dialog state of the library behind the controls of the desktop dialog.
// Every command reads the controls into the state, runs the state's own operation and shows
// the state again; what is converted, in which order and under which names is decided by the
// state alone, as it is for the command line.

#include <QDialog>
#include <memory>

#include "FileChoosers.hpp"
#include "app/CSulvanFileDlg.hpp"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace sulvan {
class CUserInterface;
}

namespace sulvan::gui {

class CQtUserInterface;
class CQuickLookPane;
class CTextProgressCtrl;

class CSulvanFileDlg : public QDialog {
    Q_OBJECT

  public:
    // With pUi null the dialog talks to the user with message boxes of its own.
    explicit CSulvanFileDlg(CUserInterface* pUi = nullptr,
                            SFileChoosers choosers = DesktopFileChoosers(),
                            QWidget* pParent = nullptr);
    ~CSulvanFileDlg() override;

    // Done, Escape and the close box; refused while a conversion runs.
    void reject() override;

  private:
    void CreateControls();

    void AddFiles();
    void RemoveFiles();
    void SelectAllFiles();
    void BrowseForDestination();
    void Convert();
    void ShowAbout();
    // The one recording selected, or none, to the quick look.
    void ShowQuickLook();

    void ReadControls();
    void WriteControls();

    // The controls the state is read from and shown in, owned by the dialog as Qt children.
    // The bar comes first: the user interface that draws into it is made before the others.
    CTextProgressCtrl* m_pProgress;
    QListWidget* m_pListFiles = nullptr;
    QListWidget* m_pListConverted = nullptr;
    QComboBox* m_pComboType = nullptr;
    QLineEdit* m_pEditDestFolder = nullptr;
    QCheckBox* m_pCheckChecksum = nullptr;
    QCheckBox* m_pCheckBurstFiles = nullptr;
    CQuickLookPane* m_pQuickLook = nullptr;

    SFileChoosers m_choosers;
    std::unique_ptr<CQtUserInterface> m_pOwnUi;  // when no other was handed in
    sulvan::CSulvanFileDlg m_state;
    bool m_bConverting = false;
};

}  // namespace sulvan::gui
