#include "options.h"

#include <optional>

#include "debugger_options.h"
#include "option_arguments.h"
#include "state_options.h"
#include "tape/binary_files.h"

namespace {

constexpr long kMaxFrameArgument = 100000000; // about 23 days of emulated time
constexpr size_t kHelpColumn = 18;            // where the help texts begin, after "  "
constexpr const char* kAddressForms = "(decimal, or hexadecimal after #, $ or 0x)";

using Take = std::function<bool(OptionArguments&, HeadlessOptions&)>;

Take Sets(bool HeadlessOptions::*flag) {
    return [flag](OptionArguments&, HeadlessOptions& options) { return options.*flag = true; };
}

Take SetsNumber(int HeadlessOptions::*field, const char* what, long low, long high) {
    return [=](OptionArguments& arguments, HeadlessOptions& options) {
        long value = 0;
        if (!arguments.Number(what, low, high, value)) return false;
        options.*field = int(value);
        return true;
    };
}

// A text value; `nonEmpty` refuses "".
Take SetsText(std::string HeadlessOptions::*field, const char* what, bool nonEmpty = false) {
    return [=](OptionArguments& arguments, HeadlessOptions& options) {
        const char* value = nonEmpty ? arguments.NextNonEmpty(what) : arguments.Next(what);
        if (value) options.*field = value;
        return value != nullptr;
    };
}

Take Adds(ActionKind kind) {
    return [kind](OptionArguments&, HeadlessOptions& options) {
        options.actions.push_back({kind, {}, 0});
        return true;
    };
}

// An action on one text value, taken as `Next`, `NextNonEmpty` or `NextPresent` does.
Take AddsText(ActionKind kind, const char* what, const char* (OptionArguments::*next)(const char*)) {
    return [=](OptionArguments& arguments, HeadlessOptions& options) {
        const char* value = (arguments.*next)(what);
        if (value) options.actions.push_back({kind, value, 0});
        return value != nullptr;
    };
}

std::optional<uint32_t> TakeMemoryAddress(OptionArguments& arguments, const char* what) {
    const char* text = arguments.Next(what);
    if (!text) return std::nullopt;
    const std::optional<uint32_t> value = ParseCommandLineNumber(text);
    if (value && *value < kMemorySize) return value;
    arguments.Fail(std::string("needs an address from 0 to 65535 ") + kAddressForms + ", not '" + text + "'");
    return std::nullopt;
}

bool TakeLoadBinary(OptionArguments& arguments, HeadlessOptions& options) {
    const char* file = arguments.Next("a file name");
    if (!file) return false;
    const std::optional<uint32_t> address = TakeMemoryAddress(arguments, "a file name and an address");
    if (!address) return false;
    options.actions.push_back({ActionKind::LoadBinary, file, 0, *address});
    return true;
}

bool TakeSaveBinary(OptionArguments& arguments, HeadlessOptions& options) {
    const char* file = arguments.Next("a file name");
    if (!file) return false;
    const std::optional<uint32_t> address = TakeMemoryAddress(arguments, "a file name and an address");
    if (!address) return false;
    const char* lengthText = arguments.Next("a file name, an address and a length");
    if (!lengthText) return false;
    const std::optional<uint32_t> length = ParseCommandLineNumber(lengthText);
    if (!length)
        return arguments.Fail(std::string("needs a length ") + kAddressForms + ", not '" + lengthText + "'");
    options.actions.push_back({ActionKind::SaveBinary, file, 0, *address, *length});
    return true;
}

bool TakeDisassembleTo(OptionArguments& arguments, HeadlessOptions& options) {
    const char* what = "a file name, a start and an end address";
    const char* file = arguments.Next(what);
    const char* start = file ? arguments.Next(what) : nullptr;
    const char* end = start ? arguments.Next(what) : nullptr;
    if (!end) return false;
    const std::optional<uint32_t> first = ParseCommandLineNumber(start), last = ParseCommandLineNumber(end);
    if (!first || !last || *first >= kMemorySize || *last >= kMemorySize)
        return arguments.Fail(std::string("needs a start and an end address from 0 to 65535 ") +
                              kAddressForms + ", not '" + start + "' '" + end + "'");
    options.actions.push_back({ActionKind::DisassembleTo, file, 0, *first, *last});
    return true;
}

bool TakeRun(OptionArguments& arguments, HeadlessOptions& options) {
    long frames = 0;
    if (!arguments.Number("a number of frames", 0, kMaxFrameArgument, frames)) return false;
    options.actions.push_back({ActionKind::Run, {}, frames});
    return true;
}

bool TakeMax(OptionArguments& arguments, HeadlessOptions& options) {
    return arguments.Number("a number of frames (1 or more)", 1, kMaxFrameArgument, options.maxFrames);
}

bool TakeTapeOut(OptionArguments& arguments, HeadlessOptions& options) {
    const char* file = arguments.Next("a file name");
    if (file) options.tapeOut.push_back(file);
    return file != nullptr;
}

bool TakeBreakWord(OptionArguments& arguments, HeadlessOptions& options) {
    const char* name = arguments.NextPresent("a word's name");
    if (name) options.breakWords.push_back(name);
    return name != nullptr;
}

constexpr auto kNext = &OptionArguments::Next;
constexpr auto kNonEmpty = &OptionArguments::NextNonEmpty;
constexpr auto kPresent = &OptionArguments::NextPresent;
using O = HeadlessOptions;
using R = OptionRow;

std::vector<OptionRow> BuildTable() {
    std::vector<OptionRow> rows = {
        {R::kSetUp, "--rom", nullptr, "FILE",
         "the 8 KB ROM (default: $NOLTACE_ROM, then roms/ace.rom beside\n"
         "the program, then $XDG_DATA_HOME/noltace/roms/ace.rom,\n"
         "then /usr/share and /usr/local/share/noltace/roms/ace.rom)",
         SetsText(&O::romPath, "a ROM file name")},
        {R::kSetUp, "--config", nullptr, "FILE",
         "read the settings of a noltace.ini first (model, colours,\n"
         "sound format, spool speed, tape options); the options\n"
         "below override it",
         SetsText(&O::configPath, "a configuration file name")},
        {R::kSetUp, "--model", nullptr, "N", "0 = 3K (default), 1 = 19K, 2 = 35K, 3 = 51K",
         SetsNumber(&O::model, "a model number 0-3", 0, 3)},
        {R::kSetUp, "--colours", "--colors", "N",
         "0 Default, 1 Black & White, 2 White & Black, 3 Green, 4 Amber",
         SetsNumber(&O::colours, "a colour scheme number 0-4", 0, 4)},
        {R::kSetUp, "--max", nullptr, "N", "frame limit of each --until (default 3000)", TakeMax},
        {R::kSetUp, "--audio-out", nullptr, "FILE",
         "write the sound (speaker and AY) to FILE as a 44100 Hz\n"
         "16-bit WAV (stereo unless --sound-output 0); frames then\n"
         "run with sound on",
         SetsText(&O::audioOut, "a file name", true)},
        {R::kSetUp, "--sound-interface", nullptr, "N",
         "0 None (default), 1 Boldfield, 2 Ace User,\n"
         "3 Fuller Box, 4 Quicksilva: the AY interface fitted",
         SetsNumber(&O::soundInterface, "a sound interface number 0-4", 0, 4)},
        {R::kSetUp, "--volume", nullptr, "N", "sound volume 0-100 (default 40)",
         SetsNumber(&O::volume, "a volume 0-100", 0, 100)},
        {R::kSetUp, "--sound-output", nullptr, "N",
         "0 Mono (a one-channel WAV), 1 ABC Stereo (default),\n"
         "2 ACB Stereo",
         SetsNumber(&O::soundOutput, "an output 0-2 (Mono, ABC Stereo, ACB Stereo)", 0, 2)},
        {R::kSetUp, "--echo", nullptr, "N", "0 None (default), 1 Echo, 2 Reverb",
         SetsNumber(&O::echo, "an enhancement 0-2 (None, Echo, Reverb)", 0, 2)},
        {R::kSetUp, "--stats", nullptr, "", "print frames, T-states, host seconds and speed at the end",
         Sets(&O::stats)},
        {R::kSetUp, "--autoload", nullptr, "", "inserting a tape types the command that loads it",
         Sets(&O::autoload)},
        {R::kSetUp, "--tape-out", nullptr, "FILE",
         "answer the ROM's next SAVE with FILE (\".tap\" added);\n"
         "repeat for later SAVEs (without it SAVE writes nothing)",
         TakeTapeOut},
        {R::kSetUp, "--dis-labels", nullptr, "LIST",
         "disassembly labels: rom, sv or rom,sv (ROM routines,\n"
         "FORTH system variables)",
         TakeDisassemblyLabels},
        {R::kSetUp, "--break", nullptr, "ADDRESS[,CONDITION]",
         "a breakpoint, as the debugger's list takes it,\n"
         "e.g. '#0038' or '#0038,A=#20' (repeatable); when one is\n"
         "reached, \"break at XXXX\" and the registers are printed\n"
         "and the action that was running ends there",
         TakeBreakpoint},
        {R::kSetUp, "--watch", nullptr, "ADDRESS[-END][,r|w]",
         "a watchpoint: the action ends after an\n"
         "instruction that writes (w, the default) or reads (r)\n"
         "memory in the range, e.g. '#3C4C' or '#3C4C-#3C4D,r'",
         TakeWatchpoint},
        {R::kSetUp, "--break-port", nullptr, "PORT",
         "a watchpoint on a port (IN or OUT); a port up to #FF\n"
         "matches the low byte, as the Ace decodes ports",
         TakeWatchpoint},
        {R::kSetUp, "--fastload", nullptr, "",
         "TZX and WAV tapes play at host speed while the ROM reads\n"
         "them (else in real emulated time)",
         Sets(&O::fastload)},
        {R::kSetUp, "--record", nullptr, "FILE",
         "record the ROM's next SAVE as a signal into FILE (.wav),\n"
         "written when the run ends",
         SetsText(&O::recordWav, "a file name", true)},

        {R::kAction, "--run", nullptr, "N", "run N frames (50 frames = 1 emulated second), unpaced", TakeRun},
        {R::kAction, "--type", nullptr, "TEXT",
         "type TEXT key by key and run until it is all typed;\n"
         "a newline or \\n is ENTER",
         AddsText(ActionKind::Type, "a text", kNonEmpty)},
        {R::kAction, "--until", nullptr, "TEXT",
         "run until TEXT shows on the Ace's screen (exit 3 if it\n"
         "does not within --max frames)",
         AddsText(ActionKind::Until, "a text", kNonEmpty)},
        {R::kAction, "--load", nullptr, "FILE",
         "load a file by its kind: tape .tap/.tzx/.wav, snapshot .ace,\n"
         "spool text .txt/.ja4/.fs/.f/.fth/.4th/.forth (typed to\n"
         "its end), ROM .rom",
         AddsText(ActionKind::Load, "a file name", kNonEmpty)},
        {R::kAction, "--list-tape", nullptr, "FILE", "print the tape browser's rows of a .tap or .tzx file",
         AddsText(ActionKind::ListTape, "a file name", kNext)},
        {R::kAction, "--save-snapshot", nullptr, "FILE", "write a .ace snapshot of the machine now",
         AddsText(ActionKind::SaveSnapshot, "a file name", kNext)},
        {R::kAction, "--load-binary", nullptr, "FILE ADDRESS", "copy FILE into memory at ADDRESS",
         TakeLoadBinary},
        {R::kAction, "--save-binary", nullptr, "FILE ADDRESS LENGTH",
         "write LENGTH bytes from ADDRESS to FILE (.bin);\n"
         "numbers are decimal, or hexadecimal after #, $ or 0x",
         TakeSaveBinary},
        {R::kAction, "--screen", nullptr, "", "print the 24 screen lines as text", Adds(ActionKind::Screen)},
        {R::kAction, "--disassemble", nullptr, "START END", "list the instructions from START to END",
         TakeDisassemble},
        {R::kAction, "--registers", nullptr, "", "print the debugger's register rows",
         Adds(ActionKind::Registers)},
        {R::kAction, "--step", nullptr, "N", "execute N instructions one at a time, printing each line",
         TakeStep},
        {R::kAction, "--screenshot", nullptr, "FILE",
         "write the 384 x 312 frame image (.png, else 32-bit BMP)",
         AddsText(ActionKind::Screenshot, "a file name", kNonEmpty)},
        {R::kAction, "--words", nullptr, "",
         "print the FORTH words in RAM, newest first, each with the\n"
         "address its link field holds",
         Adds(ActionKind::Words)},
        {R::kAction, "--sysvars", nullptr, "", "print the FORTH system variables and their bytes",
         Adds(ActionKind::SystemVariables)},
        {R::kAction, "--decompile", nullptr, "NAME", "print the RAM word NAME as the ROM's LIST shows it",
         AddsText(ActionKind::Decompile, "a word's name", kPresent)},
        {R::kAction, "--export-words", nullptr, "FILE",
         "write every RAM word, oldest first, as a spool text that\n"
         "rebuilds the dictionary",
         AddsText(ActionKind::ExportWords, "a file name", kPresent)},
        {R::kAction, "--forth-stack", nullptr, "",
         "print the FORTH data stack: \"depth 3: -3 2 1\", top first", Adds(ActionKind::ForthStack)},
        {R::kAction, "--break-word", nullptr, "NAME",
         "stop when the word NAME is entered (repeatable): prints\n"
         "\"break in NAME\", the data stack and the registers",
         TakeBreakWord},
        {R::kAction, "--pc-log", nullptr, "FILE",
         "write a line for every instruction that the following\n"
         "actions run to FILE (started afresh)",
         AddsText(ActionKind::PcLog, "a file name", kNonEmpty)},
        {R::kAction, "--disassemble-to", nullptr, "FILE START END",
         "write the listing of START..END to FILE as\n"
         "the debugger's Disassemble to File does with Show Hex\n"
         "(System Variables with --dis-labels sv)",
         TakeDisassembleTo},
    };
    for (OptionRow& row : StateOptionRows()) rows.push_back(std::move(row));
    rows.push_back({R::kInformation, "--help", "-h", "", "show this text and exit", Sets(&O::help)});
    rows.push_back({R::kInformation, "--version", nullptr, "", "show the version and exit", Sets(&O::version)});
    return rows;
}

const OptionRow* FindOption(const std::string& name) {
    for (const OptionRow& row : OptionTable())
        if (name == row.name || (row.alias && name == row.alias)) return &row;
    return nullptr;
}

// "  --rom FILE        the 8 KB ROM ...", the help's further lines indented under the first.
std::string HelpLines(const OptionRow& row) {
    std::string usage = row.name;
    if (row.alias && row.alias[1] != '-') usage = std::string(row.alias) + ", " + usage;
    if (*row.argument) usage += std::string(" ") + row.argument;
    // A usage too long for the column keeps two spaces before its text.
    usage.resize(usage.size() < kHelpColumn ? kHelpColumn : usage.size() + 2, ' ');
    std::string text = "  " + usage;
    for (const char* c = row.help; *c; ++c)
        text += *c == '\n' ? "\n" + std::string(kHelpColumn + 2, ' ') : std::string(1, *c);
    return text + "\n";
}

} // namespace

const std::vector<OptionRow>& OptionTable() {
    static const std::vector<OptionRow> table = BuildTable();
    return table;
}

std::string UsageText() {
    std::string text = "Usage: noltace-headless [set-up options] [actions]\n"
                       "Runs the Jupiter Ace without a window. Actions run in the order given.\n";
    const char* headings[] = {"\nSet-up (applied before any action):\n", "\nActions:\n", "\n"};
    for (int section : {R::kSetUp, R::kAction, R::kInformation}) {
        text += headings[section];
        for (const OptionRow& row : OptionTable())
            if (row.section == section) text += HelpLines(row);
    }
    return text + "Exit status: 0 done, 1 error, 2 bad command line, 3 --until timed out.\n";
}

bool ParseOptions(int argc, char** argv, HeadlessOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (const OptionRow* row = FindOption(option)) {
            OptionArguments arguments(argc, argv, i, error);
            if (!row->take(arguments, options)) return false;
        } else if (option.size() > 1 && option[0] == '-') {
            error = "unknown option '" + option + "' (try --help)";
            return false;
        } else {
            error = "unexpected argument '" + option + "' (files are loaded with --load; try --help)";
            return false;
        }
    }
    if (options.actions.empty() && !options.help && !options.version) {
        error = "nothing to do: give an action such as --run 100 --screen (try --help)";
        return false;
    }
    return true;
}

std::string TypedText(const std::string& argument) {
    std::string keys;
    for (size_t i = 0; i < argument.size(); ++i) {
        const char c = argument[i];
        if (c == '\\' && i + 1 < argument.size() && argument[i + 1] == 'n') {
            keys += '\r';
            ++i;
        } else if (c == '\r' && i + 1 < argument.size() && argument[i + 1] == '\n') {
            keys += '\r'; // a CR LF pair is one ENTER
            ++i;
        } else if (c == '\n') {
            keys += '\r';
        } else {
            keys += c;
        }
    }
    return keys;
}
