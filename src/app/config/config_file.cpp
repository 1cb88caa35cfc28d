#include "app/config/config_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/config/apply_settings.h"
#include "app/shell_state.h"
#include "base/file_writer.h"
#include "base/host.h"
#include "base/messages.h"
#include "debugger/breakpoint_list_file.h"

KeptConfigRows keptConfigRows;

namespace {

// Far beyond any real configuration file; a bigger file is not one.
constexpr std::uintmax_t kLargestConfigFile = 64u << 20;

// Walks a text line by line; "\r\n" ends a line as "\n" does.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

// The text after the first "=", or the whole line when there is none.
std::string_view ValueText(std::string_view line) {
    const size_t equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

// A decimal integer read as a formatted read does: leading white space, a sign, digits up
// to the first non-digit; 0 when there is no number. Huge numbers stop at the int range.
long ReadInteger(std::string_view text) {
    // 64 bits: `long` is 32 bits on some platforms, and INT_MAX + 1 must not overflow.
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t(INT_MAX) + 1);
    value = negative ? -value : value;
    return long(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

bool IsText(const Setting& s) {
    return s.width == SettingWidth::Text || s.width == SettingWidth::Folder;
}

// A text value may not break the file's lines.
std::string OneLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

bool ReadFileText(const std::string& path, std::string& text) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestConfigFile) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return false;
    text = contents.str();
    return true;
}

// Defaults into the live settings and applied; written when `write` is set.
bool ApplyDefaultSettings(bool write) {
    ApplySettings(EverySetting(LiveOptions(), DefaultOptions(DefaultDataFolder())));
    return write ? SaveConfig() : false;
}

OptionValue ReadValue(const Setting& setting, std::string_view value) {
    OptionValue read;
    if (IsText(setting))
        read.text = std::string(value);
    else
        read.number = ReadInteger(value);
    return ClampedValue(setting, read);
}

// The layout this version writes: one line per row in table order, then the separator.
// Key names are not compared, so a file edited by hand reads as it always did.
void ReadSectionByPosition(const std::vector<Setting>& table, const std::vector<size_t>& rows,
                           const std::vector<std::string_view>& body, OptionSet& staged) {
    for (size_t k = 0; k < rows.size(); ++k)
        staged[rows[k]] = ReadValue(table[rows[k]], ValueText(body[k]));
}

// A section written by another version has rows added or taken away, so its lines are
// matched by key instead: known keys take their values (a key that repeats, as a window's
// place does, fills its rows in order), missing ones their defaults; lines of keys this
// version does not know are kept to be written back.
void ReadSectionByKey(const std::vector<Setting>& table, const std::vector<size_t>& rows,
                      const std::vector<std::string_view>& body, OptionSet& staged, KeptConfigRows* kept) {
    const OptionSet defaults = DefaultOptions(DefaultDataFolder());
    std::vector<bool> filled(rows.size(), false);
    for (size_t k = 0; k < rows.size(); ++k)
        staged[rows[k]] = defaults[rows[k]];
    for (const std::string_view line : body) {
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) continue; // a separator or a stray line
        const std::string_view key = line.substr(0, equals);
        bool known = false;
        for (size_t k = 0; k < rows.size() && !known; ++k) {
            if (filled[k] || key != table[rows[k]].key) continue;
            staged[rows[k]] = ReadValue(table[rows[k]], line.substr(equals + 1));
            filled[k] = known = true;
        }
        if (!known && kept && !rows.empty()) kept->push_back({table[rows[0]].section, std::string(line)});
    }
}
} // namespace

bool ParseConfigText(std::string_view text, OptionSet& staged, KeptConfigRows* kept) {
    const std::vector<Setting>& table = SettingsTable();
    staged.resize(table.size());
    if (kept) kept->clear();
    LineReader lines(text);
    std::string_view line;
    if (!lines.Next(line)) return false;
    for (;;) {
        // Each pass starts at a section header; running out of lines before "[End]" fails.
        if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
        const std::string_view name = line.substr(1, line.size() - 2);
        if (name == "End") return true;
        std::vector<size_t> rows;
        for (size_t i = 0; i < table.size(); ++i)
            if (name == table[i].section) rows.push_back(i);
        if (rows.empty() && name != "Input") return false;
        // The section's lines run up to the next line that starts a header.
        std::vector<std::string_view> body;
        bool more;
        while ((more = lines.Next(line)) && !line.starts_with('['))
            body.push_back(line);
        if (!more) return false;
        if (body.size() == rows.size() + 1 || (rows.empty() && body.empty()))
            ReadSectionByPosition(table, rows, body, staged);
        else
            ReadSectionByKey(table, rows, body, staged, kept);
    }
}

std::string FormatConfigText(const OptionSet& options, const KeptConfigRows* kept) {
    const std::vector<Setting>& table = SettingsTable();
    std::string text;
    const char* section = nullptr;
    auto endSection = [&] {
        if (!section) return;
        if (kept)
            for (const KeptConfigRow& row : *kept)
                if (row.section == section) text += OneLine(row.line) + '\n';
        text += " \n";
    };
    for (size_t i = 0; i < table.size(); ++i) {
        const Setting& s = table[i];
        if (!section || std::strcmp(section, s.section) != 0) {
            endSection();
            section = s.section;
            text += '[';
            text += section;
            text += "]\n";
        }
        const OptionValue value = ClampedValue(s, i < options.size() ? options[i] : OptionValue{});
        text += s.key;
        text += '=';
        text += IsText(s) ? OneLine(value.text) : std::to_string(value.number);
        text += '\n';
    }
    endSection();
    text += "[End]\n";
    text += kConfigEndLine;
    text += '\n';
    return text;
}

std::string ConfigFilePath() {
    return configFolder + kConfigFileName;
}

std::string DefaultDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/noltace/";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/noltace/";
    return executableFolder;
}

namespace {

// The breakpoints saved with the settings, once the model (and so the memory they must
// fit) is known. No file: the list stays as it is.
void LoadBreakpointList() {
    std::string text;
    if (ReadFileText(configFolder + kBreakpointFileName, text)) ParseBreakpointList(text);
}

LoadResult LoadSettings();

} // namespace

LoadResult LoadConfig() {
    const LoadResult result = LoadSettings();
    LoadBreakpointList();
    return result;
}

namespace {

LoadResult LoadSettings() {
    const std::string path = ConfigFilePath();
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        // A first start: nothing is wrong, the defaults simply become the file.
        ApplyDefaultSettings(true);
        return LoadResult::Failed;
    }
    std::string text;
    OptionSet staged = LiveOptions();
    KeptConfigRows kept;
    if (ReadFileText(path, text) && ParseConfigText(text, staged, &kept)) {
        keptConfigRows = std::move(kept);
        ApplySettings(EverySetting(LiveOptions(), staged));
        return LoadResult::Loaded;
    }
    ReportMessage(kCaptionError, kMsgConfigCorrupt);
    // Keep what the user wrote beside the fresh file; if it cannot be moved aside, the
    // defaults are used without overwriting it.
    const bool keptAside = std::rename(path.c_str(), (path + ".bad").c_str()) == 0;
    if (ApplyDefaultSettings(keptAside)) host().ShowMessage("NoltACE Error", "Creating new config file");
    return LoadResult::Failed;
}

} // namespace

LoadResult LoadConfigFile(const std::string& path, OptionSet& settings, std::string& problem) {
    std::string text;
    if (!ReadFileText(path, text)) {
        problem = "cannot read it";
        return LoadResult::Failed;
    }
    OptionSet staged = settings;
    KeptConfigRows kept;
    if (!ParseConfigText(text, staged, &kept)) {
        problem = "not a NoltACE configuration file (it breaks off or has an unknown section)";
        return LoadResult::Failed;
    }
    settings = std::move(staged);
    keptConfigRows = std::move(kept);
    return LoadResult::Loaded;
}

bool SaveConfig() {
    SyncOptionsFromLive();
    const std::vector<Setting>& table = SettingsTable();
    for (size_t i = 0; i < table.size(); ++i)
        optionCopies[i] = ClampedValue(table[i], optionCopies[i]);
    const std::string path = ConfigFilePath();
    std::error_code ignored;
    if (!configFolder.empty()) std::filesystem::create_directories(configFolder, ignored);
    std::string error;
    if (WriteWholeFile(path, FormatConfigText(optionCopies, &keptConfigRows), error)) {
        // The breakpoint list lasts too, in a file of its own; losing it is no reason to
        // trouble the user twice.
        WriteWholeFile(configFolder + kBreakpointFileName, FormatBreakpointList(), error);
        return true;
    }
    ReportWriteFailure(error + "\nThe settings stay in use until NoltACE quits.");
    return false;
}

void ApplyDefaults() {
    ApplyDefaultSettings(true);
}
