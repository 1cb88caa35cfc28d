// TZX files: parse, list every block as the browser would, insert, and play the tape
// through the pulse generator for a bounded stretch of emulated time; jumps, calls and
// loops that go round without a sound must end the tape, not the fuzzer's patience.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "tape/tape_deck.h"
#include "tape/tape_listing.h"
#include "tape/tzx_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    TzxParseResult tape = ParseTzx({data, size});
    for (const TapeBlock& block : tape.blocks) {
        TapeBlockRow(block);
        TapeBlockDetails(block);
    }
    // A select block plays its last choice, so choices out of range get followed too.
    for (TapeBlock& block : tape.blocks)
        block.timing.chosen = uint8_t(block.timing.choices.size() > 0 ? block.timing.choices.size() - 1 : 0);
    InsertTzxImage(std::move(tape.blocks), "fuzz");
    opt_fastloadtzx = false;
    StartTzxPlayback();
    // Half an emulated second, in instruction-sized steps. Steps that only count down
    // to the next edge are taken together: the edges fall exactly where they would.
    constexpr long kSteps = 100000;
    constexpr int32_t kStep = 17;
    for (long n = 0; n < kSteps && tzxPlaying;) {
        const int32_t countdown = tapeDeck.edgeCountdown;
        const long steps =
            std::min<long>(countdown > 0 ? (long(countdown) + kStep - 1) / kStep : 1, kSteps - n);
        TapeTick(uint32_t(steps * kStep));
        CurrentBlockProgress();
        n += steps;
    }
    EjectTape();
    return 0;
}
