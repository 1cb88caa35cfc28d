// TAP files: parse, insert, and let the load trap deliver every block to addresses at the
// edges of memory.
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
    for (size_t n = 0; n < blocks + 2 && n < 64; ++n) {
        machine.hl.w = targets[n % 5];
        TapeLoadTrap();
    }
    EjectTape();
    return 0;
}
