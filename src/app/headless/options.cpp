#include "options.h"

#include <charconv>
#include <optional>

#include "debugger_options.h"
#include "forth_options.h"
#include "state_options.h"
#include "tape/binary_files.h"

namespace {

constexpr long kMaxFrameArgument = 100000000; // about 23 days of emulated time

bool ParseNumber(const std::string& text, long low, long high, long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty() && value >= low && value <= high;
}

} // namespace

const char* UsageText() {
    return "Usage: noltace-headless [set-up options] [actions]\n"
           "Runs the Jupiter Ace without a window. Actions run in the order given.\n"
           "\n"
           "Set-up (applied before any action):\n"
           "  --rom FILE        the 8 KB ROM (default: $NOLTACE_ROM, then roms/ace.rom beside\n"
           "                    the program, then $XDG_DATA_HOME/noltace/roms/ace.rom,\n"
           "                    then /usr/share and /usr/local/share/noltace/roms/ace.rom)\n"
           "  --config FILE     read the settings of a noltace.ini first (model, colours,\n"
           "                    sound format, spool speed, tape options); the options\n"
           "                    below override it\n"
           "  --model N         0 = 3K (default), 1 = 19K, 2 = 35K, 3 = 51K\n"
           "  --colours N       0 Default, 1 Black & White, 2 White & Black, 3 Green, 4 Amber\n"
           "  --max N           frame limit of each --until (default 3000)\n"
           "  --audio-out FILE  write the sound (speaker and AY) to FILE as a 44100 Hz\n"
           "                    16-bit WAV (stereo unless --sound-output 0); frames then\n"
           "                    run with sound on\n"
           "  --sound-interface N  0 None (default), 1 Boldfield, 2 Ace User,\n"
           "                    3 Fuller Box, 4 Quicksilva: the AY interface fitted\n"
           "  --volume N        sound volume 0-100 (default 40)\n"
           "  --sound-output N  0 Mono (a one-channel WAV), 1 ABC Stereo (default),\n"
           "                    2 ACB Stereo\n"
           "  --echo N          0 None (default), 1 Echo, 2 Reverb\n"
           "  --stats           print frames, T-states, host seconds and speed at the end\n"
           "  --autoload        inserting a tape types the command that loads it\n"
           "  --tape-out FILE   answer the ROM's next SAVE with FILE (\".tap\" added);\n"
           "                    repeat for later SAVEs (without it SAVE writes nothing)\n"
           "  --dis-labels LIST disassembly labels: rom, sv or rom,sv (ROM routines,\n"
           "                    FORTH system variables)\n"
           "  --break ADDRESS[,CONDITION]  a breakpoint, as the debugger's list takes it,\n"
           "                    e.g. '#0038' or '#0038,A=#20' (repeatable); when one is\n"
           "                    reached, \"break at XXXX\" and the registers are printed\n"
           "                    and the action that was running ends there\n"
           "  --watch ADDRESS[-END][,r|w]  a watchpoint: the action ends after an\n"
           "                    instruction that writes (w, the default) or reads (r)\n"
           "                    memory in the range, e.g. '#3C4C' or '#3C4C-#3C4D,r'\n"
           "  --break-port PORT a watchpoint on a port (IN or OUT); a port up to #FF\n"
           "                    matches the low byte, as the Ace decodes ports\n"
           "  --fastload        TZX and WAV tapes play at host speed while the ROM reads\n"
           "                    them (else in real emulated time)\n"
           "  --record FILE     record the ROM's next SAVE as a signal into FILE (.wav),\n"
           "                    written when the run ends\n"
           "\n"
           "Actions:\n"
           "  --run N           run N frames (50 frames = 1 emulated second), unpaced\n"
           "  --type TEXT       type TEXT key by key and run until it is all typed;\n"
           "                    a newline or \\n is ENTER\n"
           "  --until TEXT      run until TEXT shows on the Ace's screen (exit 3 if it\n"
           "                    does not within --max frames)\n"
           "  --load FILE       load a file by its kind: tape .tap/.tzx/.wav, snapshot .ace,\n"
           "                    spool text .txt/.ja4/.fs/.f/.fth/.4th/.forth (typed to\n"
           "                    its end), ROM .rom\n"
           "  --list-tape FILE  print the tape browser's rows of a .tap or .tzx file\n"
           "  --save-snapshot FILE  write a .ace snapshot of the machine now\n"
           "  --load-binary FILE ADDRESS  copy FILE into memory at ADDRESS\n"
           "  --save-binary FILE ADDRESS LENGTH  write LENGTH bytes from ADDRESS to FILE (.bin);\n"
           "                    numbers are decimal, or hexadecimal after #, $ or 0x\n"
           "  --screen          print the 24 screen lines as text\n"
           "  --disassemble START END  list the instructions from START to END\n"
           "  --registers       print the debugger's register rows\n"
           "  --step N          execute N instructions one at a time, printing each line\n"
           "  --screenshot FILE write the 384 x 312 frame image (.png, else 32-bit BMP)\n"
           "  --words           print the FORTH words in RAM, newest first, each with the\n"
           "                    address its link field holds\n"
           "  --sysvars         print the FORTH system variables and their bytes\n"
           "  --decompile NAME  print the RAM word NAME as the ROM's LIST shows it\n"
           "  --export-words FILE  write every RAM word, oldest first, as a spool text that\n"
           "                    rebuilds the dictionary\n"
           "  --forth-stack     print the FORTH data stack: \"depth 3: -3 2 1\", top first\n"
           "  --break-word NAME stop when the word NAME is entered (repeatable): prints\n"
           "                    \"break in NAME\", the data stack and the registers\n"
           "  --pc-log FILE     write a line for every instruction that the following\n"
           "                    actions run to FILE (started afresh)\n"
           "  --disassemble-to FILE START END  write the listing of START..END to FILE as\n"
           "                    the debugger's Disassemble to File does with Show Hex\n"
           "                    (System Variables with --dis-labels sv)\n"
           "  --rewind SECONDS  put the machine back exactly as it was SECONDS emulated\n"
           "                    seconds (50 frames each) ago, at most 60; with --rewind or\n"
           "                    --step-back the run keeps the last minute to go back to\n"
           "  --step-back N     undo the last N instructions (at most 100000): those --step\n"
           "                    ran since the last other action, or else those the frames\n"
           "                    ran up to now\n"
           "  --save-state FILE write the whole machine to FILE (.nst added)\n"
           "  --load-state FILE put the machine back to the state in FILE; a damaged file\n"
           "                    or one of another version changes nothing (exit 1)\n"
           "\n"
           "  -h, --help        show this text and exit\n"
           "  --version         show the version and exit\n"
           "Exit status: 0 done, 1 error, 2 bad command line, 3 --until timed out.\n";
}

bool ParseOptions(int argc, char** argv, HeadlessOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto needsValue = [&](const char* what) -> const char* {
            if (i + 1 < argc) return argv[++i];
            error = option + " needs " + what;
            return nullptr;
        };
        auto numberValue = [&](const char* what, long low, long high, long& out) {
            const char* value = needsValue(what);
            if (!value) return false;
            if (ParseNumber(value, low, high, out)) return true;
            error = option + " needs " + what + ", not '" + value + "'";
            return false;
        };
        long number = 0;
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--version") {
            options.version = true;
        } else if (option == "--rom") {
            const char* v = needsValue("a ROM file name");
            if (!v) return false;
            options.romPath = v;
        } else if (option == "--config") {
            const char* v = needsValue("a configuration file name");
            if (!v) return false;
            options.configPath = v;
        } else if (option == "--model") {
            if (!numberValue("a model number 0-3", 0, 3, number)) return false;
            options.model = int(number);
        } else if (option == "--colours" || option == "--colors") {
            if (!numberValue("a colour scheme number 0-4", 0, 4, number)) return false;
            options.colours = int(number);
        } else if (option == "--max") {
            if (!numberValue("a number of frames (1 or more)", 1, kMaxFrameArgument, number)) return false;
            options.maxFrames = number;
        } else if (option == "--audio-out") {
            const char* v = needsValue("a file name");
            if (!v) return false;
            if (*v == '\0') {
                error = option + " needs a non-empty file name";
                return false;
            }
            options.audioOut = v;
        } else if (option == "--sound-interface") {
            if (!numberValue("a sound interface number 0-4", 0, 4, number)) return false;
            options.soundInterface = int(number);
        } else if (option == "--volume") {
            if (!numberValue("a volume 0-100", 0, 100, number)) return false;
            options.volume = int(number);
        } else if (option == "--sound-output") {
            if (!numberValue("an output 0-2 (Mono, ABC Stereo, ACB Stereo)", 0, 2, number)) return false;
            options.soundOutput = int(number);
        } else if (option == "--echo") {
            if (!numberValue("an enhancement 0-2 (None, Echo, Reverb)", 0, 2, number)) return false;
            options.echo = int(number);
        } else if (option == "--stats") {
            options.stats = true;
        } else if (option == "--run") {
            if (!numberValue("a number of frames", 0, kMaxFrameArgument, number)) return false;
            options.actions.push_back({ActionKind::Run, {}, number});
        } else if (option == "--type" || option == "--until" || option == "--load" ||
                   option == "--screenshot") {
            const bool isFile = option == "--load" || option == "--screenshot";
            const char* v = needsValue(isFile ? "a file name" : "a text");
            if (!v) return false;
            if (*v == '\0') {
                error = option + " needs a non-empty " + (isFile ? "file name" : "text");
                return false;
            }
            const ActionKind kind = option == "--type"    ? ActionKind::Type
                                    : option == "--until" ? ActionKind::Until
                                    : option == "--load"  ? ActionKind::Load
                                                          : ActionKind::Screenshot;
            options.actions.push_back({kind, v, 0});
        } else if (option == "--fastload") {
            options.fastload = true;
        } else if (option == "--record") {
            const char* v = needsValue("a file name");
            if (!v) return false;
            if (*v == '\0') {
                error = option + " needs a non-empty file name";
                return false;
            }
            options.recordWav = v;
        } else if (option == "--list-tape") {
            const char* v = needsValue("a file name");
            if (!v) return false;
            options.actions.push_back({ActionKind::ListTape, v, 0});
        } else if (option == "--autoload") {
            options.autoload = true;
        } else if (option == "--tape-out") {
            const char* v = needsValue("a file name");
            if (!v) return false;
            options.tapeOut.push_back(v);
        } else if (option == "--save-snapshot" || option == "--load-binary" || option == "--save-binary") {
            const char* file = needsValue("a file name");
            if (!file) return false;
            Action action{option == "--save-snapshot" ? ActionKind::SaveSnapshot
                          : option == "--load-binary" ? ActionKind::LoadBinary
                                                      : ActionKind::SaveBinary,
                          file, 0};
            if (action.kind != ActionKind::SaveSnapshot) {
                const char* address = needsValue("a file name and an address");
                if (!address) return false;
                const std::optional<uint32_t> value = ParseCommandLineNumber(address);
                if (!value || *value >= kMemorySize) {
                    error = option +
                            " needs an address from 0 to 65535 (decimal, or hexadecimal after #, $ or 0x), "
                            "not '" +
                            address + "'";
                    return false;
                }
                action.address = *value;
            }
            if (action.kind == ActionKind::SaveBinary) {
                const char* length = needsValue("a file name, an address and a length");
                if (!length) return false;
                const std::optional<uint32_t> value = ParseCommandLineNumber(length);
                if (!value) {
                    error = option + " needs a length (decimal, or hexadecimal after #, $ or 0x), not '" +
                            length + "'";
                    return false;
                }
                action.length = *value;
            }
            options.actions.push_back(action);
        } else if (option == "--screen") {
            options.actions.push_back({ActionKind::Screen, {}, 0});
        } else if (option == "--words" || option == "--sysvars") {
            options.actions.push_back({option == "--words" ? ActionKind::Words : ActionKind::SystemVariables, {}, 0});
        } else if (option == "--pc-log") {
            const char* file = needsValue("a file name");
            if (!file) return false;
            if (*file == '\0') {
                error = option + " needs a non-empty file name";
                return false;
            }
            options.actions.push_back({ActionKind::PcLog, file, 0});
        } else if (option == "--disassemble-to") {
            Action action{ActionKind::DisassembleTo, {}, 0};
            const char* file = needsValue("a file name, a start and an end address");
            const char* start = file ? needsValue("a file name, a start and an end address") : nullptr;
            const char* end = start ? needsValue("a file name, a start and an end address") : nullptr;
            if (!end) return false;
            const std::optional<uint32_t> first = ParseCommandLineNumber(start),
                                          last = ParseCommandLineNumber(end);
            if (!first || !last || *first >= kMemorySize || *last >= kMemorySize) {
                error = option +
                        " needs a start and an end address from 0 to 65535 (decimal, or hexadecimal after #, "
                        "$ or 0x), not '" +
                        start + "' '" + end + "'";
                return false;
            }
            action.text = file;
            action.address = *first;
            action.length = *last;
            options.actions.push_back(action);
        } else if (const OptionMatch match = ParseDebuggerOption(argc, argv, i, options, error);
                   match != OptionMatch::NotMine) {
            if (match == OptionMatch::Failed) return false;
        } else if (const OptionMatch match = ParseForthOption(argc, argv, i, options, error);
                   match != OptionMatch::NotMine) {
            if (match == OptionMatch::Failed) return false;
        } else if (const OptionMatch match = ParseStateOption(argc, argv, i, options, error);
                   match != OptionMatch::NotMine) {
            if (match == OptionMatch::Failed) return false;
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
