// "noltace.ini": every setting of the settings table and the window places, as text.
//
// The file is read by position: each section header is followed by its settings' lines
// in table order and one separator line; only the text after the first "=" counts, so
// the key names are for the human reader. The file ends with "[End]" and a closing line.
// A section with more or fewer lines than that (a file of an older or newer version) is
// read by key name instead, so an upgrade keeps the user's settings; rows of keys this
// version does not know are kept and written back in their section.
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
#include <vector>

#include "app/config/settings_table.h"
#include "base/load_result.h"

constexpr const char* kConfigFileName = "noltace.ini";
constexpr const char* kConfigEndLine = "-----Nothing Below This Line-----";

// A line of a key this version does not know, kept to be written back in its section.
struct KeptConfigRow {
    std::string section;
    std::string line;
    bool operator==(const KeptConfigRow&) const = default;
};
using KeptConfigRows = std::vector<KeptConfigRow>;
// The unknown rows of the file last read, written back by SaveConfig.
extern KeptConfigRows keptConfigRows;

// Reads a whole file's text into `staged` (which starts as a copy of what it replaces):
// false when it is not a configuration file. Values are clamped to their ranges; rows of
// unknown keys go to `kept` when given.
bool ParseConfigText(std::string_view text, OptionSet& staged, KeptConfigRows* kept = nullptr);
// The file's text for a set of values (and the kept rows, each in its section).
std::string FormatConfigText(const OptionSet& options, const KeptConfigRows* kept = nullptr);

// The configuration file's path: configFolder + "noltace.ini".
std::string ConfigFilePath();
// The per-user data folder the default file folders live in ($XDG_DATA_HOME/noltace/,
// ~/.local/share/noltace/ when unset), ending in "/".
std::string DefaultDataFolder();

// Loads the file into the live settings and applies them. Failed when the file was
// missing or unreadable and the defaults were applied (and written) instead.
LoadResult LoadConfig();
// Reads the file at `path` over `settings` (one value per table row) without applying
// them: the caller does, with ApplySettings. Failed, with the reason in `problem`, when
// it cannot be read; `settings` are then as they were.
LoadResult LoadConfigFile(const std::string& path, OptionSet& settings, std::string& problem);
// Writes the live settings. False (after one message) when the file cannot be written;
// the settings in memory stay as they are.
bool SaveConfig();
// Every setting and window place back to its default, applied and written.
void ApplyDefaults();
