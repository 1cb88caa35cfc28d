#include "app/config/apply_settings.h"

#include <algorithm>

#include "app/shell_state.h"
#include "display/display_settings.h"
#include "display/presentation.h"
#include "display/renderer.h"
#include "machine/frame.h"
#include "machine/joystick.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "sound/audio_device.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"

void (*settingsAppliedHandler)(const SettingChanges& changes) = nullptr;

namespace {

size_t RowOf(const LiveVariable& live) {
    return size_t(SettingIndex(live));
}

// The settings that shape the sound stream: a change restarts it, so it is heard at once.
bool SoundFormatChanged(const SettingChanges& changes) {
    const LiveVariable format[] = {&opt_snd_sound,  &opt_snd_freq, &opt_snd_soundbits, &opt_snd_num_buffers,
                                   &opt_snd_output, &opt_echo,     &opt_snd_volume,    &opt_emulation_speed};
    return std::any_of(std::begin(format), std::end(format), [&](const LiveVariable& live) {
        for (const SettingChange& change : changes.rows)
            if (change.row == RowOf(live)) return change.before != change.after;
        return false;
    });
}

} // namespace

bool SettingChanges::Has(const LiveVariable& live) const {
    const size_t row = RowOf(live);
    return std::any_of(rows.begin(), rows.end(), [row](const SettingChange& c) { return c.row == row; });
}

void SettingChanges::Add(const LiveVariable& live, const OptionSet& before, const OptionSet& after) {
    if (Has(live)) return;
    const size_t row = RowOf(live);
    rows.push_back({row, before[row], after[row]});
}

void SettingChanges::Drop(const LiveVariable& live) {
    const size_t row = RowOf(live);
    std::erase_if(rows, [row](const SettingChange& c) { return c.row == row; });
}

namespace {
SettingChanges Rows(const OptionSet& before, const OptionSet& after, bool unchangedToo) {
    SettingChanges changes;
    for (size_t row = 0; row < before.size() && row < after.size(); ++row)
        if (unchangedToo || before[row] != after[row]) changes.rows.push_back({row, before[row], after[row]});
    return changes;
}
} // namespace

SettingChanges ChangedSettings(const OptionSet& before, const OptionSet& after) {
    return Rows(before, after, false);
}

SettingChanges EverySetting(const OptionSet& before, const OptionSet& after) {
    return Rows(before, after, true);
}

void ApplySettings(const SettingChanges& changes) {
    // Only the rows given are written: a folder left alone keeps the last path used in it.
    for (const SettingChange& change : changes.rows)
        StoreOptionToLive(change.row, change.after);
    const bool model = changes.Has(&machine.model);
    if (model) ApplyModelLimits(machine.model);
    if (changes.Has(&opt_colours)) ApplyColourScheme(opt_colours);
    if (changes.Has(&frameSkipPeriod)) RestartFrameSkip();
    if (model) ResetMachine();
    if (SoundFormatChanged(changes) && InstalledAudioDevice()) {
        ShutdownSound();
        InitSound();
    }
    if (settingsAppliedHandler) settingsAppliedHandler(changes);
}

void ApplyOptionCopies(bool modelChosen) {
    const OptionSet live = LiveOptions();
    SettingChanges changes = ChangedSettings(live, optionCopies);
    // The scale belongs to the View menu, which may be in full screen now, and the place
    // to the window as it stands.
    for (const LiveVariable& kept :
         {LiveVariable(&opt_DrawSize), LiveVariable(&mainWindowPlacement.left),
          LiveVariable(&mainWindowPlacement.top), LiveVariable(&mainWindowPlacement.width),
          LiveVariable(&mainWindowPlacement.height)})
        changes.Drop(kept);
    // A model button pressed resets the machine even when it names the model in use.
    if (modelChosen) changes.Add(&machine.model, live, optionCopies);
    joystickInput.joystickChoice = opt_joystick_choice;
    joystickInput.joystickEmulates = opt_joystick_emulates;
    ApplySettings(changes);
}
