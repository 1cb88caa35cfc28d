// The command line of noltace-headless: set-up options and the actions, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class ActionKind {
    Run,
    Type,
    Until,
    Load,
    Screen,
    Screenshot,
    SaveSnapshot,
    LoadBinary,
    SaveBinary,
    Words,
    SystemVariables,
    PcLog,
    DisassembleTo,
    Disassemble, // address = start, length = end (inclusive)
    Registers,
    Step, // frames = number of instructions
    ListTape,
    Decompile,   // text = the word's name
    ExportWords, // text = the file
    ForthStack,
    Rewind,    // frames = how far back, in frames
    StepBack,  // frames = number of instructions
    SaveState, // text = the file
    LoadState, // text = the file
};

struct Action {
    ActionKind kind;
    std::string text; // typed text, awaited text or file name
    long frames = 0;  // --run
    uint32_t address = 0, length = 0; // --load-binary, --save-binary; --disassemble-to's start, end
};

struct HeadlessOptions {
    std::string romPath; // "" = the standard ROM lookup
    std::string configPath; // an ini file read before the other set-up options
    int model = -1;         // 0 3K, 1 19K, 2 35K, 3 51K; -1 as configured (3K)
    int colours = -1;       // colour scheme 0-4; -1 as configured (0)
    long maxFrames = 3000;
    std::string audioOut;   // "" = no sound; else the WAV file the sound goes to
    int soundInterface = 0; // 0 None, 1 Boldfield, 2 Ace User, 3 Fuller Box, 4 Quicksilva
    int volume = -1;        // the sound settings' values (-1: the default): volume 0-100,
    int soundOutput = -1;   // output 0 Mono, 1 ABC Stereo, 2 ACB Stereo,
    int echo = -1;          // enhancement 0 None, 1 Echo, 2 Reverb
    bool stats = false;
    bool help = false;
    bool version = false;
    bool autoload = false;            // type the load command when a tape is inserted
    std::vector<std::string> tapeOut; // answers to the ROM's SAVE dialogs, in order
    bool romLabels = false;           // --dis-labels rom
    bool systemVariableLabels = false; // --dis-labels sv
    std::vector<std::string> breakpoints; // --break texts: "ADDRESS[,CONDITION]"
    struct Watch {
        char kind;           // 'w' written, 'r' read, 'p' a port
        std::string address; // "#3C4C" or "#3C4C-#3C4D", as the list takes it
    };
    std::vector<Watch> watchpoints;   // --watch, --break-port
    std::vector<std::string> breakWords;  // --break-word names
    bool fastload = false;            // TZX and WAV tapes play at host speed while the ROM reads them
    std::string recordWav;            // "" = no recording; else the ROM's next SAVE goes to this WAV
    bool keepHistory = false;         // --rewind or --step-back: keep the rewind buffer
    std::vector<Action> actions;
};

class OptionArguments;

// One command-line option: its names, how --help shows it and what it takes. The table
// of them is the parser and the help text alike, so a new option is one more row.
struct OptionRow {
    enum Section { kSetUp, kAction, kInformation } section;
    const char* name;     // "--model"
    const char* alias;    // another name or nullptr; one with a single dash ("-h") is shown first
    const char* argument; // the values as --help names them ("N", "FILE ADDRESS"); "" for none
    const char* help;     // what it does; each "\n" starts a line indented under the first
    // Takes the option's values into `options`; false (with the error set) refuses them.
    std::function<bool(OptionArguments&, HeadlessOptions&)> take;
};

// Every option, in the order --help lists them.
const std::vector<OptionRow>& OptionTable();

// Parses argv[1..]. On failure returns false with one line describing the fault.
bool ParseOptions(int argc, char** argv, HeadlessOptions& options, std::string& error);

// --type's text as keys: a newline (or backslash n) becomes ENTER (CR, 13).
std::string TypedText(const std::string& argument);

// The --help text, made from the option table.
std::string UsageText();
