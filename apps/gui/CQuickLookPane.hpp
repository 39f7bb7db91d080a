#pragma once
// The dialog's quick look: the picture sulvan-info --plot draws of the one recording selected
// in "Files to convert", with the key figures sulvan-info reports under it. The recording is
// read on a worker thread, so the window never waits for it; a new selection drops the look
// still being taken. The pane can be folded away to its header line; it remembers nothing.

#include <QImage>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <stop_token>
#include <string>

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace sulvan::plot {
struct SQuickLookPicture;
}

namespace sulvan::gui {

class CQuickLookPane : public QWidget {
    Q_OBJECT

  public:
    // A pane nWidth pixels wide; the picture takes its width.
    explicit CQuickLookPane(int nWidth, QWidget* pParent = nullptr);
    // Drops the look being taken and waits for the worker to notice.
    ~CQuickLookPane() override;

    // Shows the quick look of the recording, or nothing for an empty path (no entry or several
    // selected).
    void ShowRecording(const std::string& strPath);

    // What the pane shows: the picture (null while there is none) and the key figures.
    QImage Picture() const { return m_picture; }
    QString Figures() const;
    bool IsFolded() const;

  signals:
    // The pane was folded or unfolded: its height changed.
    void HeightChanged();

  private:
    void StartLook();
    void TakeLook(std::uint64_t nLook, const plot::SQuickLookPicture& look);
    void Fold(bool bFolded);

    QToolButton* m_pToggle;
    QLabel* m_pStatus;
    QWidget* m_pBody;
    QLabel* m_pPicture;
    QPlainTextEdit* m_pFigures;
    QSize m_pictureSize;
    QImage m_picture;
    std::string m_strPath;
    // Looks are numbered as they are asked for; a finished look that is not the last one asked
    // for is dropped.
    std::uint64_t m_nLook = 0;
    std::stop_source m_stop;
    // Selection changes come in bursts (a list refilled item by item): the look starts once
    // they are over.
    QTimer m_startTimer;
    QThreadPool m_worker;
};

}  // namespace sulvan::gui
