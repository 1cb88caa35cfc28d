#include "tape/qt/tape_browser.h"
#include "tape/qt/transport_button.h"

#include <algorithm>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimerEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/current_file.h"
#include "base/messages.h"
#include "base/qt/tool_window_place.h"
#include "tape/file_paths.h"
#include "tape/tape_deck.h"
#include "tape/tape_listing.h"

namespace {

TapeBrowser* openBrowser = nullptr;
constexpr int kFollowMs = 100;

} // namespace

TapeBrowser::TapeBrowser(QWidget* parent) : QDialog(parent) {
    setObjectName("tapeBrowser");
    setWindowTitle("Nolt Tape Browser");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(this);
    group_ = new QGroupBox("Tape", this);
    group_->setObjectName("tapeGroup");
    auto* lists = new QHBoxLayout(group_);
    list_ = new QListWidget(group_);
    list_->setObjectName("blockList");
    list_->setMinimumWidth(300);
    details_ = new QTreeWidget(group_);
    details_->setObjectName("blockDetails");
    details_->setColumnCount(2);
    details_->setHeaderLabels({"Field", "Value"});
    details_->setRootIsDecorated(false);
    details_->setColumnWidth(0, 170);
    details_->setMinimumWidth(440);
    lists->addWidget(list_);
    lists->addWidget(details_, 1);
    outer->addWidget(group_, 1);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("blockProgress");
    progress_->setTextVisible(false);
    progress_->setStyleSheet("QProgressBar::chunk { background: rgb(0, 255, 0); }");
    outer->addWidget(progress_);

    auto* buttons = new QHBoxLayout;
    QStyle* s = style();
    auto* refresh = TransportButton(this, "refresh", "Refresh", s->standardIcon(QStyle::SP_BrowserReload));
    buttons->addWidget(refresh);
    connect(refresh, &QPushButton::clicked, this, &TapeBrowser::RefreshTapeBrowser);
    const struct {
        const char* name;
        const char* tip;
        QStyle::StandardPixmap icon;
        void (TapeBrowser::*action)();
    } nav[] = {
        {"rewind", "Rewind", QStyle::SP_MediaSkipBackward, &TapeBrowser::Rewind},
        {"previous", "Previous block", QStyle::SP_MediaSeekBackward, &TapeBrowser::Previous},
        {"play", "Play", QStyle::SP_MediaPlay, &TapeBrowser::PlayOrStop},
        {"next", "Next block", QStyle::SP_MediaSeekForward, &TapeBrowser::Next},
        {"end", "To the end", QStyle::SP_MediaSkipForward, &TapeBrowser::ToEnd},
        {"eject", "Eject", QStyle::SP_TitleBarCloseButton, &TapeBrowser::Eject},
    };
    for (const auto& n : nav) {
        QPushButton* b = TransportButton(this, n.name, n.tip, s->standardIcon(n.icon));
        connect(b, &QPushButton::clicked, this, n.action);
        buttons->addWidget(b);
        navigation_.append(b);
    }
    play_ = navigation_[2];
    buttons->addStretch(1);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("close");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);
    outer->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, &TapeBrowser::RowChosen);
    connect(details_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        PickChoice(details_->indexOfTopLevelItem(item) - kFirstChoiceRow);
    });
    resize(820, 420);
    KeepToolWindowPlace(this, kPlaceTapeBrowser);
    RefreshTapeBrowser();
    timerId_ = startTimer(kFollowMs);
}

TapeBrowser::~TapeBrowser() {
    if (openBrowser == this) openBrowser = nullptr;
}

void TapeBrowser::RefreshTapeBrowser() {
    following_ = true;
    list_->clear();
    details_->clear();
    shownTape_ = tapeDeck.tapeInDeck.get();
    shownBlock_ = tapeDeck.currentBlock;
    if (tapeDeck.tapeInDeck) {
        group_->setTitle(QString::fromStdString(FileNameOf(currentFile.currentFilePath)));
        for (const std::string& row : TapeRows(tapeDeck.tapeInDeck->blocks))
            list_->addItem(QString::fromStdString(row));
    } else {
        group_->setTitle("Tape");
        list_->addItem(kEndOfTapeRow);
    }
    for (QPushButton* b : navigation_)
        b->setEnabled(tapeDeck.tapeInDeck != nullptr);
    const int row = tapeDeck.currentBlock ? tapeDeck.currentBlock->index : list_->count() - 1;
    list_->setCurrentRow(row);
    ShowBlockDetails(row);
    following_ = false;
    FollowDeck();
}

void TapeBrowser::ShowBlockDetails(int row) {
    details_->clear();
    if (!tapeDeck.tapeInDeck || row < 0 || row >= int(tapeDeck.tapeInDeck->blocks.size())) return;
    for (const auto& [name, value] : TapeBlockDetails(tapeDeck.tapeInDeck->blocks[size_t(row)]))
        details_->addTopLevelItem(
            new QTreeWidgetItem({QString::fromStdString(name), QString::fromStdString(value)}));
}

// Activating a choice of a select block makes it the one that plays.
void TapeBrowser::PickChoice(int choice) {
    const int row = list_->currentRow();
    if (!tapeDeck.tapeInDeck || row < 0 || row >= int(tapeDeck.tapeInDeck->blocks.size())) return;
    TzxTiming& t = tapeDeck.tapeInDeck->blocks[size_t(row)].timing;
    if (tapeDeck.tapeInDeck->blocks[size_t(row)].blockId != 0x28 || choice < 0 ||
        choice >= int(t.choices.size()))
        return;
    t.chosen = uint8_t(choice);
    ShowBlockDetails(row);
}

// Choosing a row shows its details; the tape itself moves only by the buttons.
void TapeBrowser::RowChosen(int row) {
    if (!following_) ShowBlockDetails(row);
}

void TapeBrowser::Rewind() {
    // A TAP tape past its last block has no current block: it rewinds too.
    if (tapeDeck.tapeInDeck && (!tapeDeck.currentBlock || tapeDeck.currentBlock->prev))
        SelectBlock(tapeDeck.tapeInDeck->first());
    FollowDeck();
}

void TapeBrowser::Previous() {
    if (!tapeDeck.tapeInDeck) return;
    SelectBlock(tapeDeck.currentBlock ? tapeDeck.currentBlock->prev : tapeDeck.tapeInDeck->last());
    FollowDeck();
}

void TapeBrowser::PlayOrStop() {
    if (tzxPlaying)
        StopTzxPlayback();
    else
        StartTzxPlayback();
    FollowDeck();
}

void TapeBrowser::Next() {
    if (tapeDeck.currentBlock && tapeDeck.currentBlock->next) SelectBlock(tapeDeck.currentBlock->next);
    FollowDeck();
}

void TapeBrowser::ToEnd() {
    if (tapeDeck.currentBlock && tapeDeck.currentBlock->next) SelectBlock(tapeDeck.tapeInDeck->last());
    FollowDeck();
}

void TapeBrowser::Eject() {
    if (tapeDeck.tapeInDeck)
        EjectTape();
    else
        ReportMessage(kCaptionSound, kMsgNoTape);
    RefreshTapeBrowser();
}

// Follows the deck: a new tape rebuilds the list, a new current block moves the
// selection and details, and the progress bar tracks the block being played.
void TapeBrowser::FollowDeck() {
    if (tapeDeck.tapeInDeck.get() != shownTape_) {
        RefreshTapeBrowser();
        return;
    }
    if (tapeDeck.currentBlock != shownBlock_) {
        shownBlock_ = tapeDeck.currentBlock;
        following_ = true;
        const int row = tapeDeck.currentBlock ? tapeDeck.currentBlock->index : list_->count() - 1;
        list_->setCurrentRow(row);
        ShowBlockDetails(row);
        following_ = false;
    }
    if (tzxPlaying != shownPlaying_ || !play_->property("shown").isValid()) {
        shownPlaying_ = tzxPlaying;
        play_->setIcon(style()->standardIcon(tzxPlaying ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
        play_->setToolTip(tzxPlaying ? "Stop" : "Play");
        play_->setProperty("shown", true);
    }
    // An empty range would make the bar a busy indicator: with no block it stays empty.
    const BlockProgress p = CurrentBlockProgress();
    progress_->setRange(0, int(std::clamp<uint32_t>(p.total, 1, 0x7FFFFFFF)));
    progress_->setValue(int(std::min(p.done, p.total)));
}

void TapeBrowser::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timerId_) FollowDeck();
}

void OpenTapeBrowser(QWidget* parent) {
    if (!openBrowser) {
        openBrowser = new TapeBrowser(parent);
        openBrowser->show();
    }
    openBrowser->raise();
    openBrowser->activateWindow();
}

TapeBrowser* OpenTapeBrowserWindow() {
    return openBrowser;
}
