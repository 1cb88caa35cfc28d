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

OptionMatch ParseDebuggerOption(int argc, char** argv, int& i, HeadlessOptions& options, std::string& error) {
    const std::string option = argv[i];
    auto value = [&](const char* what) -> const char* {
        if (i + 1 < argc) return argv[++i];
        error = option + " needs " + what;
        return nullptr;
    };
    auto address = [&](const char* what, uint32_t& out) {
        const char* text = value(what);
        if (!text) return false;
        const std::optional<uint32_t> number = ParseCommandLineNumber(text);
        if (number && *number <= 0xFFFF) {
            out = *number;
            return true;
        }
        error = option + " needs " + what +
                " from 0 to 65535 (decimal, or hexadecimal after #, $ or 0x), not '" + text + "'";
        return false;
    };

    if (option == "--disassemble") {
        Action action{ActionKind::Disassemble, {}, 0};
        if (!address("a start address", action.address) || !address("an end address", action.length))
            return OptionMatch::Failed;
        if (action.length < action.address) {
            error = option + " needs an end address at or after the start, not '" + argv[i - 1] + "' '" +
                    argv[i] + "'";
            return OptionMatch::Failed;
        }
        options.actions.push_back(action);
    } else if (option == "--registers") {
        options.actions.push_back({ActionKind::Registers, {}, 0});
    } else if (option == "--step") {
        const char* text = value("a number of instructions");
        if (!text) return OptionMatch::Failed;
        const std::optional<uint32_t> count = ParseCommandLineNumber(text);
        if (!count || *count < 1 || *count > kMaxSteps) {
            error = option + " needs a number of instructions from 1 to 100000000, not '" +
                    std::string(text) + "'";
            return OptionMatch::Failed;
        }
        options.actions.push_back({ActionKind::Step, {}, long(*count)});
    } else if (option == "--dis-labels") {
        const char* text = value("rom, sv or rom,sv");
        if (!text) return OptionMatch::Failed;
        const std::string list = text;
        for (std::string::size_type start = 0; start <= list.size();) {
            std::string::size_type comma = list.find(',', start);
            if (comma == std::string::npos) comma = list.size();
            const std::string item = list.substr(start, comma - start);
            if (item == "rom")
                options.romLabels = true;
            else if (item == "sv")
                options.systemVariableLabels = true;
            else if (!item.empty() || list.empty()) {
                error = option + " takes rom, sv or rom,sv, not '" + list + "'";
                return OptionMatch::Failed;
            }
            start = comma + 1;
        }
    } else if (option == "--break") {
        const char* text = value("an address, optionally followed by a comma and a condition");
        if (!text) return OptionMatch::Failed;
        if (*text == '\0') {
            error = option + " needs an address such as '#0038' or '#0038,A=#20'";
            return OptionMatch::Failed;
        }
        const std::string entry = text;
        const std::string::size_type comma = entry.find(',');
        const std::string addressText = entry.substr(0, comma);
        const std::optional<uint32_t> number = ParseCommandLineNumber(addressText);
        if (!number || *number > 0xFFFF) {
            error = option +
                    " needs an address from 0 to 65535 (decimal, or hexadecimal after #, $ or 0x), not '" +
                    addressText + "'";
            return OptionMatch::Failed;
        }
        if (options.breakpoints.size() + options.watchpoints.size() >= kMaxBreakpoints) {
            error = option + ": only " + std::to_string(kMaxBreakpoints) + " breakpoints allowed";
            return OptionMatch::Failed;
        }
        // The list's own form, which takes no 0x.
        char hexadecimal[8];
        std::snprintf(hexadecimal, sizeof hexadecimal, "#%04X", *number);
        options.breakpoints.push_back(hexadecimal +
                                      (comma == std::string::npos ? std::string() : entry.substr(comma)));
    } else if (option == "--watch" || option == "--break-port") {
        const bool port = option == "--break-port";
        const char* text = value(port ? "a port" : "an address or range, optionally followed by ,r or ,w");
        if (!text) return OptionMatch::Failed;
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
        if ((kind != 'w' && kind != 'r' && kind != 'p') || !first || !last || *last > 0xFFFF ||
            *last < *first) {
            error =
                port ? option +
                           " needs a port from 0 to 65535 (decimal, or hexadecimal after #, $ or 0x), not '" +
                           std::string(text) + "'"
                     : option + " needs ADDRESS[-END][,r|w] with addresses from 0 to 65535, END not below " +
                           "ADDRESS, not '" + std::string(text) + "'";
            return OptionMatch::Failed;
        }
        if (options.breakpoints.size() + options.watchpoints.size() >= kMaxBreakpoints) {
            error = option + ": only " + std::to_string(kMaxBreakpoints) + " breakpoints allowed";
            return OptionMatch::Failed;
        }
        char range[16];
        std::snprintf(range, sizeof range, *last > *first ? "#%04X-#%04X" : "#%04X", *first, *last);
        options.watchpoints.push_back({kind, range});
    } else {
        return OptionMatch::NotMine;
    }
    return OptionMatch::Taken;
}
