#include "debugger_options.h"

#include <cctype>
#include <cstdio>

#include "base/number_text.h"
#include "debugger/breakpoints.h"
#include "tape/binary_files.h"

namespace {

constexpr uint32_t kMaxSteps = 100000000;

} // namespace

std::optional<uint32_t> ParseCommandLineNumber(const std::string& text) {
    return ParseNumber(text, UINT32_MAX, kHexPrefix0x);
}

namespace {

constexpr const char* kNumberForms = " from 0 to 65535 (decimal, or hexadecimal after #, $ or 0x), not '";

bool TakeAddress(OptionArguments& arguments, const char* what, uint32_t& out, const char** taken = nullptr) {
    const char* text = arguments.Next(what);
    if (!text) return false;
    if (taken) *taken = text;
    const std::optional<uint32_t> number = ParseCommandLineNumber(text);
    if (number && *number <= 0xFFFF) {
        out = *number;
        return true;
    }
    return arguments.Fail(std::string("needs ") + what + kNumberForms + text + "'");
}

bool RoomForAnotherBreakpoint(OptionArguments& arguments, const HeadlessOptions& options) {
    if (options.breakpoints.size() + options.watchpoints.size() < kMaxBreakpoints) return true;
    return arguments.FailLine(arguments.option() + ": only " + std::to_string(kMaxBreakpoints) +
                              " breakpoints allowed");
}

} // namespace

bool TakeDisassemble(OptionArguments& arguments, HeadlessOptions& options) {
    Action action{ActionKind::Disassemble, {}, 0};
    const char* start = nullptr;
    const char* end = nullptr;
    if (!TakeAddress(arguments, "a start address", action.address, &start) ||
        !TakeAddress(arguments, "an end address", action.length, &end))
        return false;
    if (action.length < action.address)
        return arguments.Fail(std::string("needs an end address at or after the start, not '") + start +
                              "' '" + end + "'");
    options.actions.push_back(action);
    return true;
}

bool TakeStep(OptionArguments& arguments, HeadlessOptions& options) {
    const char* text = arguments.Next("a number of instructions");
    if (!text) return false;
    const std::optional<uint32_t> count = ParseCommandLineNumber(text);
    if (!count || *count < 1 || *count > kMaxSteps)
        return arguments.Fail("needs a number of instructions from 1 to 100000000, not '" +
                              std::string(text) + "'");
    options.actions.push_back({ActionKind::Step, {}, long(*count)});
    return true;
}

bool TakeDisassemblyLabels(OptionArguments& arguments, HeadlessOptions& options) {
    const char* text = arguments.Next("rom, sv or rom,sv");
    if (!text) return false;
    const std::string list = text;
    for (std::string::size_type start = 0; start <= list.size();) {
        std::string::size_type comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        const std::string item = list.substr(start, comma - start);
        if (item == "rom")
            options.romLabels = true;
        else if (item == "sv")
            options.systemVariableLabels = true;
        else if (!item.empty() || list.empty())
            return arguments.Fail("takes rom, sv or rom,sv, not '" + list + "'");
        start = comma + 1;
    }
    return true;
}

bool TakeBreakpoint(OptionArguments& arguments, HeadlessOptions& options) {
    const char* text = arguments.Next("an address, optionally followed by a comma and a condition");
    if (!text) return false;
    if (*text == '\0') return arguments.Fail("needs an address such as '#0038' or '#0038,A=#20'");
    const std::string entry = text;
    const std::string::size_type comma = entry.find(',');
    const std::string addressText = entry.substr(0, comma);
    const std::optional<uint32_t> number = ParseCommandLineNumber(addressText);
    if (!number || *number > 0xFFFF)
        return arguments.Fail("needs an address" + (kNumberForms + addressText) + "'");
    if (!RoomForAnotherBreakpoint(arguments, options)) return false;
    // The list's own form, which takes no 0x.
    char hexadecimal[8];
    std::snprintf(hexadecimal, sizeof hexadecimal, "#%04X", *number);
    options.breakpoints.push_back(hexadecimal +
                                  (comma == std::string::npos ? std::string() : entry.substr(comma)));
    return true;
}

bool TakeWatchpoint(OptionArguments& arguments, HeadlessOptions& options) {
    const bool port = arguments.option() == "--break-port";
    const char* text =
        arguments.Next(port ? "a port" : "an address or range, optionally followed by ,r or ,w");
    if (!text) return false;
    std::string watched = text;
    char kind = port ? 'p' : 'w';
    if (!port && watched.size() > 2 && watched[watched.size() - 2] == ',') {
        kind = char(std::tolower(static_cast<unsigned char>(watched.back())));
        watched.resize(watched.size() - 2);
    }
    const std::string::size_type dash = port ? std::string::npos : watched.find('-');
    const std::optional<uint32_t> first = ParseCommandLineNumber(watched.substr(0, dash));
    const std::optional<uint32_t> last =
        dash == std::string::npos ? first : ParseCommandLineNumber(watched.substr(dash + 1));
    if ((kind != 'w' && kind != 'r' && kind != 'p') || !first || !last || *last > 0xFFFF || *last < *first)
        return arguments.Fail(port
                                  ? "needs a port" + (kNumberForms + std::string(text)) + "'"
                                  : "needs ADDRESS[-END][,r|w] with addresses from 0 to 65535, END not below "
                                    "ADDRESS, not '" +
                                        std::string(text) + "'");
    if (!RoomForAnotherBreakpoint(arguments, options)) return false;
    char range[16];
    std::snprintf(range, sizeof range, *last > *first ? "#%04X-#%04X" : "#%04X", *first, *last);
    options.watchpoints.push_back({kind, range});
    return true;
}
