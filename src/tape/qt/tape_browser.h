// The tape browser: a modeless tool window listing the blocks of the tape in the deck
// with the details of one block, a progress bar over the block being played, and the
// buttons that move through the tape, play or stop it, and eject it. It follows the deck
// by looking at it a few times a second, so the core needs to know nothing of it.
//
//   OpenTapeBrowser(mainWindow);   // Tools, Tape Browser: opens it, or raises it
#pragma once

#include <QDialog>

class QGroupBox;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;
struct TapeBlock;
struct TapeImage;

class TapeBrowser : public QDialog {
    Q_OBJECT
  public:
    explicit TapeBrowser(QWidget* parent);
    ~TapeBrowser() override;

    // Rebuilds the list from the tape in the deck and selects the current block.
    void RefreshTapeBrowser();
    // Fills the detail list for one row (the "End Of Tape" row leaves it empty).
    void ShowBlockDetails(int row);

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void Rewind();
    void Previous();
    void PlayOrStop();
    void Next();
    void ToEnd();
    void Eject();
    void RowChosen(int row);
    void PickChoice(int choice);
    void FollowDeck();

    QGroupBox* group_ = nullptr;
    QListWidget* list_ = nullptr;
    QTreeWidget* details_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* play_ = nullptr;
    QList<QPushButton*> navigation_;
    int timerId_ = 0;
    // What the window last showed, to notice the deck changing under it.
    const TapeImage* shownTape_ = nullptr;
    const TapeBlock* shownBlock_ = nullptr;
    bool shownPlaying_ = false;
    bool following_ = false; // the list's selection is being set by the window itself
};

void OpenTapeBrowser(QWidget* parent);
TapeBrowser* OpenTapeBrowserWindow(); // the open window, or nullptr
