// The desktop application's command line, read once at start-up.
//
//   noltace                    nothing is loaded
//   noltace -i                 noltace.ini lives in the executable's folder
//   noltace FILE               FILE is loaded by its kind once the window is shown
//   noltace NAME.bin ADDRESS   NAME.bin is copied into memory at the decimal ADDRESS
//   noltace -i FILE            as "-i"; FILE is remembered but not loaded
//   noltace -r ROM             ROM (from the ROM folder) replaces ace.rom
//
// Any other two-argument form does nothing, and three or more arguments are ignored
// altogether. The ".bin" test comes first; "-i" and "-r" are tested on the same argument.
//
//   CommandLine cl = ParseCommandLine({argv + 1, argv + argc});
//   if (cl.action == StartupAction::LoadBinary) LoadBinaryFile(cl.pendingFile, cl.binaryAddress);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class StartupAction : uint8_t {
    None,       // nothing to load
    LoadFile,   // load pendingFile by its kind after the window is shown
    LoadBinary, // copy pendingFile into memory at binaryAddress before the first frame
    LoadRom,    // load pendingFile as a custom ROM, then reset the machine
};

struct CommandLine {
    bool iniInExecutableFolder = false;
    std::string pendingFile;
    StartupAction action = StartupAction::None;
    uint16_t binaryAddress = 0;
    // Why a form that looked meant was refused (a ".bin" address that is not a decimal
    // number from 0 to 65535); "" when there is nothing to say.
    std::string problem;
};

// `args` are the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// True when `text` is a plain decimal number from 0 to 65535 (digits only).
bool ParseDecimalAddress(const std::string& text, uint16_t& address);
