#include "app/qt/options_input_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include "machine/joystick.h"

OptionsInputPage::OptionsInputPage(QWidget* parent) : QWidget(parent) {
    auto* joysticks = new QComboBox(this);
    joysticks->setObjectName("joystickChoice");
    auto* emulates = new QComboBox(this);
    emulates->setObjectName("joystickEmulates");
    joysticks->setEnabled(false);
    emulates->setEnabled(false);
    // Said in words, so that greyed lists are not all the page shows without a joystick.
    auto* none = new QLabel("No joystick found", this);
    none->setObjectName("noJoystick");
    auto* form = new QFormLayout(this);
    form->addRow(none);
    form->addRow("Joystick", joysticks);
    form->addRow("Emulates", emulates);

    opt_joystick_choice = joystickInput.joystickChoice;
    opt_joystick_emulates = joystickInput.joystickEmulates;
    if (!SetUpJoystick(false) || joystickInput.joystickNames.empty()) {
        joystickInput.joystickEmulates = opt_joystick_emulates = kJoystickEmulatesNone;
        return;
    }
    none->hide();
    for (const std::string& name : joystickInput.joystickNames)
        joysticks->addItem(QString::fromStdString(name));
    for (const char* name : kJoystickEmulationNames)
        emulates->addItem(name);
    joysticks->setCurrentIndex(joystickInput.joystickChoice >= 0 &&
                                       joystickInput.joystickChoice < joysticks->count()
                                   ? joystickInput.joystickChoice
                                   : 0);
    emulates->setCurrentIndex(joystickInput.joystickEmulates == kJoystickEmulatesBoldfield ? 1 : 0);
    opt_joystick_choice = joysticks->currentIndex();
    joysticks->setEnabled(true);
    emulates->setEnabled(true);
    connect(joysticks, &QComboBox::currentIndexChanged, this, [](int n) { opt_joystick_choice = n; });
    connect(emulates, &QComboBox::currentIndexChanged, this,
            [](int n) { opt_joystick_emulates = uint8_t(n); });
}
