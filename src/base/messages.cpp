#include "base/messages.h"

#include <cstdio>

#include "base/host.h"

namespace {

const char* const kCaptions[] = {
    "NoltACE Error", "NoltACE Debug", "NoltACE Display", "NoltACE File",
    "NoltACE Options", "NoltACE Sound", "NoltACE POKE Memory",
};

struct CodeText {
    int code;
    const char* text;
};

const CodeText kTexts[] = {
    {1, "Cannot begin EXECUTE_Z80"},
    {2, "ROM missing"},
    {3, "ROM file incorrect length"},
    {4, "Out of memory"},
    {5, "Configuration file missing"},
    {6, "Configuration file corrupt"},
    {7, "Only 256 breakpoints allowed"},
    {8, "Not enough memory to create FORTH word list"},
    {10, "Snapshot Error: Cannot load snapshot file"},
    {11, "Snapshot Error: Snapshot file missing"},
    {12, "Snapshot Error: Incorrect snapshot length"},
    {13, "File Error: File not found"},
    {14, "File Error: Cannot write file"},
    {15, "File Error: Not a text file, so it cannot be typed in"},
    {20, "Tape Error: Tape file missing"},
    {21, "Tape Error: Tape file incorrect length"},
    {22, "Tape Error: unknown extension"},
    {23, "Tape Error: Error reading from file"},
    {24, "Tape Error: Tape already in deck"},
    {25, "Tape Error: No tape in deck"},
    {26, "Tape Error: Not a PCM WAV file of 8 or 16 bits, 1 or 2 channels, 4 to 192 kHz"},
    {27, "Tape Error: Not a TZX file"},
    {28, "Tape Error: Unknown TZX block, the tape ends before it"},
    {29, "Tape Error: The tape holds no blocks"},
    // The display back-ends are Qt's software painter ("DirectDraw" codes) and OpenGL
    // ("Direct3D" codes); the codes stay, the texts name what really failed.
    {30, "Display: Failed to create the software display"},
    {31, "Display: Failed to set cooperative level for the software display"},
    {32, "Display: Failed to set display mode for the software display"},
    {33, "Display: Failed to create surface for the software display"},
    {34, "Display: Failed to attach backbuffer for the software display"},
    {35, "Display: Failed to create offscreen surface for the software display"},
    {36, "Display: Failed to lock pixels the specified surface"},
    {37, "Display: Failed to create back surface"},
    {38, "Display: Failed to create clipper"},
    {39, "Display: Failed to assign window to clipper"},
    {40, "Display: Failed to attach clipper to primary surface"},
    {41, "Display: Failed to lock surface"},
    {42, "Display: Failed to get pixel format"},
    {43, "Display: Failed to clear surface"},
    {44, "Display: Failed to unlock surface"},
    {50, "OpenGL: Failed to create OpenGL context"},
    {51, "OpenGL: Failed to create OpenGL device"},
    {52, "OpenGL: Failed to create OpenGL texture"},
    {53, "OpenGL: Failed to lock OpenGL texture"},
    {60, "SDL Audio: Failed to initialise sound"},
    {61, "SDL Audio: Failed to create SDL audio object"},
    {62, "SDL Audio: Failed to set Cooperative level for SDL audio"},
    {63, "SDL Audio: Failed to create SDL audio buffer"},
    {64, "SDL Audio: Failed to open the audio stream"},
    {65, "SDL Audio: Failed to start the audio stream"},
    {66, "SDL Audio: 8 or 16 bit sound not supported"},
    {67, "SDL Audio: Mono or Stereo sound not supported"},
    {80, "Debugger: Can't find byte(s)"},
    {81, "Debugger: Can't find text"},
    {82, "Debugger: Not a number or number out of range"},
};

LastReport lastReport;
void (*pauseAroundBox)(bool) = nullptr;

} // namespace

const char* MessageCaption(uint8_t kind) {
    return kind < sizeof kCaptions / sizeof kCaptions[0] ? kCaptions[kind] : "";
}

const char* MessageText(int code) {
    for (const CodeText& entry : kTexts)
        if (entry.code == code) return entry.text;
    return "";
}

std::string FormatMessage(int code) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02X - ", unsigned(code));
    return prefix + std::string(MessageText(code));
}

bool ReportMessage(uint8_t kind, int code) {
    return ReportMessage(kind, code, std::string());
}

bool ReportMessage(uint8_t kind, int code, const std::string& detail) {
    lastReport = {MessageCaption(kind), FormatMessage(code), code};
    if (!detail.empty()) lastReport.text += "\n\n" + detail;
    if (pauseAroundBox) pauseAroundBox(true);
    host().ShowMessage(lastReport.caption, lastReport.text);
    if (pauseAroundBox) pauseAroundBox(false);
    return true;
}

void SetMessageBoxPause(void (*pause)(bool stop)) { pauseAroundBox = pause; }

const LastReport& LastReportedMessage() { return lastReport; }
void ClearLastReportedMessage() { lastReport = {}; }
