#include "debugger/rom_labels.h"

namespace {

struct RomLabel {
    uint16_t address;
    const char* name;
};

// Entry points that the ROM's own code calls or jumps to, named after what they do.
const RomLabel kRomLabels[] = {
    {0x0000, "START"},   // power-on: sizes RAM, sets up the system variables
    {0x0008, "PRINT"},   // RST 08: prints the character in A
    {0x0010, "STKPUSH"}, // RST 10: pushes DE onto the FORTH data stack
    {0x0018, "STKPOP"},  // RST 18: pops DE from the FORTH data stack
    {0x0020, "ERROR"},   // RST 20: reports the error whose code follows the RST
    {0x0038, "INTRPT"},  // the maskable interrupt, once a frame
    {0x013A, "FRAMINT"}, // the frame interrupt's work: FRAMES, keyboard, screen
    {0x0310, "KEYBRD"},  // reads the keyboard into KEYCOD with auto-repeat
    {0x0336, "KEYSCAN"}, // scans the eight half-rows, A = key code or 0
    {0x084E, "STKPOPB"}, // pops BC from the FORTH data stack
    {0x1820, "TAPESAV"}, // writes a tape block
    {0x18A7, "TAPELD"},  // reads a tape block
};

} // namespace

const char* RomLabelAt(uint32_t address) {
    for (const RomLabel& label : kRomLabels)
        if (label.address == address) return label.name;
    return nullptr;
}
