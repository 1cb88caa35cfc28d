#include "app/qt/options_dialog.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/config/settings_table.h"
#include "app/qt/main_window.h"
#include "app/qt/options_controls.h"
#include "app/qt/options_display_page.h"
#include "app/qt/options_emulation_page.h"
#include "app/qt/options_folders_page.h"
#include "app/qt/options_hardware_page.h"
#include "app/qt/options_input_page.h"
#include "app/qt/options_sound_page.h"
#include "app/qt/run_commands.h"
#include "app/qt/view_controller.h"
#include "app/shell_state.h"
#include "debugger/disassembler.h"
#include "display/display_settings.h"
#include "display/presentation.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/joystick.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"
#include "tape/tape_deck.h"

OptionsDialog::OptionsDialog(QWidget* owner) : QDialog(owner) {
    setObjectName("optionsDialog");
    setWindowTitle("NoltACE Options");
    pages_ = new QTabWidget(this);
    pages_->setObjectName("optionsPages");
    // All eight tabs in view: the sheet grows to show them rather than scroll.
    pages_->setUsesScrollButtons(false);
    pages_->addTab(new OptionsEmulationPage(pages_), "Emulation");
    pages_->addTab(new OptionsHardwarePage(modelChanged_, pages_), "Hardware");
    pages_->addTab(new OptionsDisplayPage(pages_), "Display");
    pages_->addTab(new OptionsSoundPage(pages_), "Sound");
    pages_->addTab(new OptionsFoldersPage(pages_), "Default Folders");
    pages_->addTab(new CheckBoxPage("Disassembly",
                                    {{"ROM Labels", &opt_dis_rom}, {"System Variables", &opt_dis_sv}},
                                    pages_),
                   "Debugger");
    pages_->addTab(new CheckBoxPage("Tape Options",
                                    {{"Fastload TZX files", &opt_fastloadtzx},
                                     {"Auto load TAP and WAV files", &opt_autoload},
                                     {"Auto rewind tape files", &opt_autorewind}},
                                    pages_),
                   "Tapes");
    pages_->addTab(new OptionsInputPage(pages_), "Input");
    pages_->setCurrentIndex(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
}

namespace {

// The settings that shape the sound stream: a change restarts it, so OK is heard at once.
std::vector<long> SoundFormat() {
    return {long(opt_snd_sound), long(opt_snd_freq), opt_snd_soundbits, opt_snd_num_buffers,
            opt_snd_output,      opt_echo,           opt_snd_volume,    long(opt_emulation_speed)};
}

} // namespace

void ApplyOptions(MainWindow& window, bool modelChanged) {
    const std::vector<long> soundBefore = SoundFormat();
    // The scale belongs to the View menu, which may be in full screen now.
    const int scale = opt_DrawSize;
    const WindowPlacement place = mainWindowPlacement;
    StoreOptionsToLive(optionCopies);
    opt_DrawSize = scale;
    mainWindowPlacement = place;
    joystickInput.joystickChoice = opt_joystick_choice;
    joystickInput.joystickEmulates = opt_joystick_emulates;
    if (modelChanged) ResetMachine();
    ApplyColourScheme(opt_colours);
    RestartFrameSkip();
    if (SoundFormat() != soundBefore) {
        ShutdownSound();
        InitSound();
    }
    if (!window.view().fullScreen()) window.view().RestorePlace(window.x(), window.y());
    window.SetUpDisplay();
}

void ShowOptionsDialog(MainWindow& window) {
    PauseAround pause;
    SyncOptionsFromLive();
    OptionsDialog dialog(&window);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted) ApplyOptions(window, dialog.modelChanged());
    // The memory limits follow the model in force, whichever button closed the dialog.
    const ModelInfo& model = ModelTable(machine.model);
    machine.topPage = model.topPage;
    machine.ramTop = model.ramTop;
}
