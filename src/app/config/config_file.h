// "noltace.ini": every setting of the settings table and the window places, as text.
//
// The file is read by position: each section header is followed by its settings' lines
// in table order and one separator line; only the text after the first "=" counts, so
// the key names are for the human reader. The file ends with "[End]" and a closing line.
//
//   [Emulation]
//   opt_emulation_speed=100
//   ...
//   (one space)
//   [Tapes]
//   ...
//   [End]
//   -----Nothing Below This Line-----
//
// Loading stages every value and applies them only at "[End]", so a file that breaks off
// changes nothing. A first start (no file yet) writes the defaults without a word; a file
// that cannot be read is kept as "noltace.ini.bad" before the defaults replace it.
// Writing goes to a temporary file in the same folder that is renamed over the old one.
#pragma once

#include <string>
#include <string_view>

#include "app/config/settings_table.h"

constexpr const char* kConfigFileName = "noltace.ini";
constexpr const char* kConfigEndLine = "-----Nothing Below This Line-----";

// Reads a whole file's text into `staged` (which starts as a copy of what it replaces):
// false when it is not a configuration file. Values are clamped to their ranges.
bool ParseConfigText(std::string_view text, OptionSet& staged);
// The file's text for a set of values.
std::string FormatConfigText(const OptionSet& options);

// The configuration file's path: configFolder + "noltace.ini".
std::string ConfigFilePath();
// The per-user data folder the default file folders live in ($XDG_DATA_HOME/noltace/,
// ~/.local/share/noltace/ when unset), ending in "/".
std::string DefaultDataFolder();

// Loads the file into the live settings and applies them. 0 on success; 1 when the file
// was missing or unreadable and the defaults were applied (and written) instead.
int LoadConfig();
// Reads the file at `path` into the live settings without applying them (the caller
// applies what it uses). False, with the reason in `problem`, when it cannot be read.
bool LoadConfigFile(const std::string& path, std::string& problem);
// Writes the live settings. False (after one message) when the file cannot be written;
// the settings in memory stay as they are.
bool SaveConfig();
// Every setting and window place back to its default, applied and written.
void ApplyDefaults();

// What follows a change of the live settings: the model's memory limits, the colours and
// frameskip, a machine reset. The application adds its own part (joystick, display) here.
void ApplyLoadedSettings();
extern void (*settingsAppliedHandler)();
