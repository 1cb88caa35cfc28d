// The one way a change of settings takes effect, whoever makes it: the configuration
// file's reader and its defaults, the options dialog's OK and the headless runner's
// set-up all describe what changed and call ApplySettings, so each setting's effects
// are written once, in one order:
//
//   live values <- new values; model -> memory limits; colours -> palette;
//   frameskip -> countdown; model -> machine reset; sound format -> stream restarted
//   (when a device is installed); then the front end's own part (window, display).
//
//   SettingChanges changes = ChangedSettings(LiveOptions(), optionCopies);
//   ApplySettings(changes);
#pragma once

#include <cstddef>
#include <vector>

#include "app/config/settings_table.h"

// One setting to apply: its row in the settings table, the value it had and the new one.
struct SettingChange {
    size_t row;
    OptionValue before, after;
};

struct SettingChanges {
    std::vector<SettingChange> rows;
    // Whether the setting behind `live` is among the rows.
    bool Has(const LiveVariable& live) const;
    // Takes the setting behind `live` in even when its value stays (a model chosen again
    // still resets the machine); a row already there is kept.
    void Add(const LiveVariable& live, const OptionSet& before, const OptionSet& after);
    // Leaves the setting behind `live` as it is.
    void Drop(const LiveVariable& live);
};

// The rows whose values differ.
SettingChanges ChangedSettings(const OptionSet& before, const OptionSet& after);
// Every row, changed or not: a whole configuration read or made anew, all of whose
// effects follow (the machine is reset, the display set up again).
SettingChanges EverySetting(const OptionSet& before, const OptionSet& after);

void ApplySettings(const SettingChanges& changes);

// The options dialog's OK: the option copies that differ from the live values are
// applied, but not the scale or the window's place, which belong to the window; with
// `modelChosen` (a model button was pressed) the machine is reset even for the same model.
void ApplyOptionCopies(bool modelChosen);

// The front end's part, run last by ApplySettings (the Qt shell: the window's place and
// the display back-end). Null: nothing more to do.
extern void (*settingsAppliedHandler)(const SettingChanges& changes);
