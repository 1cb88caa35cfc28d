// Every setting the configuration file keeps, defined once: its section, key, width,
// range and default, and the live variable the emulator uses. The file reader and
// writer, the defaults, the option copies and the options dialog all walk this table,
// so a new setting is one more line in settings_table.cpp.
//
// Each setting exists as its live variable (owned by its subsystem) and as an option
// copy in an OptionSet: the copy the options dialog edits and the writer writes.
//
//   SyncOptionsFromLive();                       // copies <- live values
//   OptionNumber(&opt_snd_freq) = 22050;         // the dialog edits a copy
//   StoreOptionsToLive(optionCopies);            // OK: live values <- copies
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

enum class SettingWidth : uint8_t {
    Int8,   // written and read as a decimal integer, kept in 8 bits
    Int32,  // a decimal integer
    Float,  // read as an integer, written truncated to one
    Text,   // the rest of the line, at most `high` characters
    Folder, // text, written up to and including its last "/"
};

// The live variable behind a setting.
using LiveVariable = std::variant<bool*, uint8_t*, uint32_t*, int*, float*, std::string*>;

struct Setting {
    const char* section; // "Emulation", without brackets
    const char* key;     // "opt_exit_msg"; written, never compared when reading
    SettingWidth width;
    long low, high; // range (text: `high` is the longest text kept)
    long step;      // 0: any value in range; 10: multiples of 10; -1: one of `choices`
    long defaultNumber;
    const char* defaultText; // text settings; folders: the part after the data folder
    LiveVariable live;
    const std::vector<long>* choices = nullptr;
};

// The table, in file order.
const std::vector<Setting>& SettingsTable();

struct OptionValue {
    long number = 0;
    std::string text;
    bool operator==(const OptionValue&) const = default;
};
// One value per table row, in table order.
using OptionSet = std::vector<OptionValue>;

// The copies the options dialog edits and the writer writes.
extern OptionSet optionCopies;

// The value a setting may really take: numbers clamped into range (a list of choices
// snaps to the nearest choice, a step to the nearest multiple), texts cut to length.
OptionValue ClampedValue(const Setting& setting, OptionValue value);

// The defaults; folders are `dataFolder` (ending in "/") followed by their own name.
OptionSet DefaultOptions(const std::string& dataFolder);
OptionSet LiveOptions();
void StoreOptionsToLive(const OptionSet& options);
// One row (clamped) into its live variable.
void StoreOptionToLive(size_t row, const OptionValue& value);
void SyncOptionsFromLive();

// The row of a live variable, or -1; and its option copy (the variable must be in the table).
int SettingIndex(const LiveVariable& live);
long& OptionNumber(const LiveVariable& live);
std::string& OptionText(const LiveVariable& live);
