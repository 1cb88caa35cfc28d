#include "app/qt/status_bar_panel.h"

#include <QLabel>
#include <QStatusBar>

#include "base/current_file.h"
#include "app/status_text.h"
#include "display/presentation.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "tape/file_kinds.h"

StatusBarPanel::StatusBarPanel(QStatusBar* bar) {
    bar->setSizeGripEnabled(false);
    for (size_t i = 0; i < parts_.size(); ++i) {
        parts_[i] = new QLabel(bar);
        parts_[i]->setObjectName(QString("statusPart%1").arg(i));
        parts_[i]->setFrameShape(QFrame::Panel);
        parts_[i]->setFrameShadow(QFrame::Sunken);
        parts_[i]->setMinimumWidth(1); // equal quarters, whatever the text
        bar->addWidget(parts_[i], 1);
    }
    Show(InitialStatusTexts());
}

void StatusBarPanel::Update(double now) {
    if (lastUpdate_ >= 0 && now - lastUpdate_ < 1.0) return;
    if (enabled_) {
        const std::string file = currentFileKind != FileKind::None ? currentFileName : std::string();
        Show(MakeStatusTexts(machine.model, frameCounter, file, opt_DrawSize));
    }
    frameCounter = 0;
    lastUpdate_ = now;
}

void StatusBarPanel::Show(const StatusTexts& texts) {
    parts_[0]->setText(QString::fromStdString(texts.model));
    parts_[1]->setText(QString::fromStdString(texts.framesPerSecond));
    parts_[2]->setText(QString::fromStdString(texts.speed));
    parts_[3]->setText(QString::fromStdString(texts.currentFile));
}

QString StatusBarPanel::PartText(int part) const {
    return part >= 0 && part < int(parts_.size()) ? parts_[part]->text() : QString();
}
