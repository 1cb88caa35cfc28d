#include "app/qt/status_bar_panel.h"

#include <QLabel>
#include <QStatusBar>

#include "app/status_text.h"
#include "base/current_file.h"
#include "display/presentation.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "tape/file_kinds.h"
#include "tape/tape_deck.h"
#include "tape/spool.h"

namespace {

// The widest text each of the first three parts shows while the machine runs at its
// own speed; the current file takes what is left.
const char* const kWidestTexts[3] = {" Jupiter Ace 51K", " Frames Per Second: 50  ", " Speed: 100%"};

// Makes `part` at least wide enough for `text` (it never shrinks, so it does not jitter).
void FitText(QLabel* part, const QString& text) {
    const int frame = 2 * part->frameWidth() + 2 * part->margin() + 4;
    const int width = part->fontMetrics().horizontalAdvance(text) + frame;
    if (width > part->minimumWidth()) part->setMinimumWidth(width);
}

} // namespace

StatusBarPanel::StatusBarPanel(QStatusBar* bar) : bar_(bar) {
    bar->setSizeGripEnabled(false);
    for (size_t i = 0; i < parts_.size(); ++i) {
        QLabel* part = new QLabel(bar);
        parts_[i] = part;
        part->setObjectName(QString("statusPart%1").arg(i));
        part->setFrameShape(QFrame::Panel);
        part->setFrameShadow(QFrame::Sunken);
        // Each part as wide as its text, so that none is cut short; the file name gets
        // the rest and is elided by the label when it is longer.
        const bool last = i + 1 == parts_.size();
        if (last) {
            part->setMinimumWidth(1);
        } else {
            FitText(part, kWidestTexts[i]);
        }
        bar->addWidget(part, last ? 1 : 0);
    }
    Show(InitialStatusTexts());
}

void StatusBarPanel::Update(double now) {
    if (lastUpdate_ >= 0 && now - lastUpdate_ < 1.0) return;
    if (enabled_) {
        const std::string file =
            currentFileKind != FileKind::None ? currentFile.currentFileName : std::string();
        const std::string deck = DeckContents();
        Show(MakeStatusTexts(machine.model, frameDriver.frameCounter, file, opt_DrawSize, deck));
        // At 100% the bar has no room beside the first three parts: while the deck holds
        // something, the frame count steps aside for it (the speed says the same).
        parts_[1]->setVisible(opt_DrawSize >= 2 || deck.empty());
        ShowSpoolProgress();
    }
    frameDriver.frameCounter = 0;
    lastUpdate_ = now;
}

void StatusBarPanel::SetSpoolNote(const QString& note) {
    spoolNote_ = note;
    showingSpool_ = true;
    ShowSpoolProgress();
}

void StatusBarPanel::ShowSpoolProgress() {
    constexpr int kNoteAfterwardsMs = 5000;
    // Over the whole bar: at 100% the file part is too narrow for it.
    if (spool.spoolActive) {
        QString text = QString::fromStdString(SpoolingText(SpoolPercent()));
        if (!spoolNote_.isEmpty()) text += "   " + spoolNote_;
        bar_->showMessage(text);
        showingSpool_ = true;
    } else if (showingSpool_) {
        bar_->clearMessage();
        if (!spoolNote_.isEmpty()) bar_->showMessage(spoolNote_, kNoteAfterwardsMs);
        spoolNote_.clear();
        showingSpool_ = false;
    }
}

void StatusBarPanel::Show(const StatusTexts& texts) {
    const std::string* shown[] = {&texts.model, &texts.framesPerSecond, &texts.speed, &texts.currentFile};
    for (size_t i = 0; i < parts_.size(); ++i) {
        const QString text = QString::fromStdString(*shown[i]);
        // Fast mode's speed ("Speed: 26636%") and frame rate outgrow the usual widths:
        // the part grows to show it, taking room from the current file's part.
        if (i + 1 < parts_.size()) FitText(parts_[i], text);
        parts_[i]->setText(text);
    }
}

QString StatusBarPanel::PartText(int part) const {
    return part >= 0 && part < int(parts_.size()) ? parts_[part]->text() : QString();
}
