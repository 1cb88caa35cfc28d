// TAP files: parse, insert, and let the load trap answer header and data requests of
// every length at addresses at the edges of memory, past the end of the tape too (where
// it hands over to the ROM's own reader).
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "machine/machine_state.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    TapParseResult tape = ParseTapBlocks({data, size});
    const size_t blocks = tape.blocks.size();
    InsertTapImage(std::move(tape.blocks), "fuzz");
    const uint16_t targets[] = {0x231A, 0x3C51, 0xFFF0, 0x0000, 0x27F8};
    const uint16_t lengths[] = {25, 0, 0xFFFF, 1, 300, 25, 7};
    opt_autorewind = size % 2 != 0;
    for (size_t n = 0; n < blocks + 3 && n < 64; ++n) {
        machine.hl.w = targets[n % 5];
        machine.de.w = lengths[n % 7];
        machine.sp = 0x8000;
        TapeLoadTrap();
        if (n % 9 == 8) TapeFrameEnded(); // now and then a new LOAD
    }
    opt_autorewind = false;
    EjectTape();
    return 0;
}
