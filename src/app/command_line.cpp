#include "app/command_line.h"

namespace {

bool NamesBinaryFile(const std::string& name) {
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".bin") == 0;
}

} // namespace

bool ParseDecimalAddress(const std::string& text, uint16_t& address) {
    if (text.empty() || text.size() > 5) return false;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + uint32_t(c - '0');
    }
    if (value > 0xFFFF) return false;
    address = uint16_t(value);
    return true;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    if (args.size() == 1) {
        if (args[0] == "-i") {
            result.iniInExecutableFolder = true;
        } else {
            result.pendingFile = args[0];
            result.action = StartupAction::LoadFile;
        }
    } else if (args.size() == 2) {
        const std::string& first = args[0];
        if (NamesBinaryFile(first)) {
            result.pendingFile = first;
            if (ParseDecimalAddress(args[1], result.binaryAddress))
                result.action = StartupAction::LoadBinary;
            else
                result.problem =
                    "\"" + args[1] + "\" is not a load address: give a decimal number from 0 to 65535";
        } else if (first == "-i") {
            result.iniInExecutableFolder = true;
            result.pendingFile = args[1];
        } else if (first == "-r") {
            result.pendingFile = args[1];
            result.action = StartupAction::LoadRom;
        }
    }
    return result;
}
