// Stepping by FORTH word, from the debugger: the machine runs one instruction at a time
// until the inner interpreter's dispatch (forth_word_break.h) enters a word.
//
// At the dispatch the Z80 stack's top is the current definition's next item, and a
// colon word's body starts one return address deeper, so the stack pointer tells the
// levels apart:
//   Step Word         the next word of this definition (SP the same or higher)
//   Step Into Word    the next word entered, at any depth
//   Step Out Of Word  the next word after this definition has returned (SP higher)
//
//   WordStepResult r = RunWordStep(WordStep::Over, kWordStepBound);
//   r.reached  -> DispatchDescription() says "SQ in CUBE+2"
#pragma once

#include <cstdint>

enum class WordStep { Over, Into, Out };

// About four emulated seconds: no FORTH word takes longer to reach its next word unless
// it waits for a key, and the window is held only that long.
constexpr uint32_t kWordStepBound = 4000000;

struct WordStepResult {
    bool reached = false;    // stopped at the dispatch of the wanted word
    bool breakpoint = false; // an armed breakpoint stopped it first
    uint32_t instructions = 0;
};

// Runs at most `bound` instructions (SingleStep, so frames complete as they end).
WordStepResult RunWordStep(WordStep kind, uint32_t bound);

// "Step Word", "Step Into Word", "Step Out Of Word".
const char* WordStepName(WordStep kind);
