#include "app/qt/options_emulation_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "app/qt/options_controls.h"
#include "app/shell_state.h"
#include "sound/sound_settings.h"
#include "tape/spool.h"

OptionsEmulationPage::OptionsEmulationPage(QWidget* parent) : QWidget(parent) {
    auto* speedGroup = new QGroupBox("Emulation Speed", this);
    auto* speedText = new QLabel(speedGroup);
    speedText->setObjectName("speedText");
    speedText->setMinimumWidth(50);
    auto* speedRow = new QHBoxLayout(speedGroup);
    speedRow->addWidget(BoundSlider(10, 1000, &opt_emulation_speed, speedGroup, 1, speedText, "%1%"));
    speedRow->addWidget(speedText);

    auto* spoolGroup = new QGroupBox("Spool Speed (least frames per character)", this);
    auto* spoolText = new QLabel(spoolGroup);
    spoolText->setMinimumWidth(50);
    auto* spoolRow = new QHBoxLayout(spoolGroup);
    spoolRow->addWidget(BoundSlider(1, 20, &opt_spool_speed, spoolGroup, 1, spoolText));
    spoolRow->addWidget(spoolText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(speedGroup);
    layout->addWidget(spoolGroup);
    layout->addWidget(BoundCheckBox("Ask before leaving NoltACE", &opt_exit_msg, this));
    layout->addWidget(BoundCheckBox("Pause emulation when NoltACE loses focus", &opt_focus_on, this));
    layout->addStretch();
}
