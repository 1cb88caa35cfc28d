#include "app/program_info.h"

#include "app/shell_state.h"

namespace {

bool IsHelp(const std::string& argument) {
    return argument == "--help" || argument == "-h";
}

} // namespace

std::string VersionLine(const std::string& program) {
    return program + " " + kVersionText;
}

std::string VersionText(const std::string& program) {
    return VersionLine(program) + "\n";
}

const char* NoltaceUsageText() {
    return "Usage: noltace [-i] [FILE]\n"
           "  or:  noltace NAME.bin ADDRESS\n"
           "  or:  noltace -r ROM\n"
           "Emulates the Jupiter Ace, the Z80 home computer whose ROM boots into FORTH,\n"
           "in a window with sound.\n"
           "\n"
           "Options:\n"
           "  FILE              load FILE once the window is shown, by its ending: tape\n"
           "                    .tap, .tzx or .wav, snapshot .ace, spool text .txt, .ja4\n"
           "                    or .fs (typed key by key)\n"
           "  NAME.bin ADDRESS  copy NAME.bin into memory at the decimal ADDRESS (0-65535)\n"
           "                    before the first frame\n"
           "  -i                keep noltace.ini beside the program instead of in the\n"
           "                    configuration folder; a FILE after it is not loaded\n"
           "  -r ROM            start with ROM, a file in the ROM folder, instead of ace.rom\n"
           "  -h, --help        show this text and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Qt's own options (-platform NAME, -display DISPLAY) are taken as well.\n"
           "Without an ace.rom the window lists where it looked and offers to choose one.\n";
}

bool AsksForInformation(const std::vector<std::string>& args) {
    for (const std::string& argument : args)
        if (IsHelp(argument) || argument == "--version") return true;
    return false;
}

std::string InformationText(const std::vector<std::string>& args, const std::string& program, const char* usage) {
    for (const std::string& argument : args) {
        if (IsHelp(argument)) return usage;
        if (argument == "--version") return VersionText(program);
    }
    return usage;
}
