#include "app/qt/options_hardware_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/config/settings_table.h"
#include "machine/machine_state.h"

namespace {
const char* const kModelNames[] = {"Jupiter Ace 3K", "Jupiter Ace 19K", "Jupiter Ace 35K", "Jupiter Ace 51K"};
const char* const kSoundInterfaceNames[] = {"None", "Boldfield", "Ace User", "Fuller Box", "Quicksilva"};
} // namespace

OptionsHardwarePage::OptionsHardwarePage(bool& modelChanged, QWidget* parent) : QWidget(parent) {
    auto* modelGroup = new QGroupBox("Model", this);
    auto* models = new QButtonGroup(this);
    auto* modelLayout = new QVBoxLayout(modelGroup);
    for (int n = 0; n < 4; ++n) {
        auto* button = new QRadioButton(kModelNames[n], modelGroup);
        button->setObjectName(QString("model%1").arg(n));
        button->setChecked(OptionNumber(&machine.model) == n);
        models->addButton(button, n);
        modelLayout->addWidget(button);
    }
    connect(models, &QButtonGroup::idClicked, this, [&modelChanged](int n) {
        OptionNumber(&machine.model) = n;
        modelChanged = true;
        // The memory limits follow at once; the machine is reset with the model on OK.
        ApplyModelLimits(uint32_t(n));
    });

    auto* soundGroup = new QGroupBox("Sound Interface", this);
    auto* interfaces = new QComboBox(soundGroup);
    interfaces->setObjectName("soundInterface");
    for (const char* name : kSoundInterfaceNames)
        interfaces->addItem(name);
    interfaces->setCurrentIndex(machine.soundInterface < 5 ? machine.soundInterface : 0);
    connect(interfaces, &QComboBox::currentIndexChanged, this, [](int n) {
        if (n >= 0) machine.soundInterface = uint8_t(n);
    });
    auto* soundLayout = new QVBoxLayout(soundGroup);
    soundLayout->addWidget(interfaces);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modelGroup);
    layout->addWidget(soundGroup);
    layout->addStretch();
}
