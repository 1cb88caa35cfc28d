// The pulse generator: TZX blocks played as edges of the tape level, which the keyboard
// port returns in bit 5 while a tape plays. Each step makes one edge and sets the time
// to the next one; the deck's tick runs steps while that time has run out.
//
// Standard-speed blocks (0x10) carry Ace tapes and sound with the Ace's own ROM timings
// (pilot and sync shortened by the ROM's factor, data bits whole). Every other signal
// block has its timings in the format's 3.5 MHz T-states, scaled to the machine's clock.
// A block's pause begins with one edge, which ends its last pulse, then the line is quiet.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "machine/machine_state.h"
#include "tape/tape_deck.h"

namespace {

enum class Phase { Pilot, Sync1, Sync2, Data, Pulses, Direct, Pause };

constexpr float kAcePilotFactor = 0.9285714f; // the ROM's leader and sync, 3.25 / 3.5
constexpr int32_t kStartDelay = 812500;       // T-states before the first edge
constexpr float kTzxClock = 3500000.0f;

struct PulseGenerator {
    Phase phase = Phase::Pilot;
    float pilotPulse = 0, sync1 = 0, sync2 = 0, zeroPulse = 0, onePulse = 0;
    uint32_t pilotLeft = 0, pilotTotal = 0;
    size_t dataPointer = 0;
    size_t bytesLeft = 0;
    int bitsLeft = 0;
    int usedBits = 8;
    uint8_t currentByte = 0;
    uint8_t currentBit = 0;
    bool secondHalf = false;
    size_t pulseIndex = 0; // 0x13 pulses, 0x15 samples
    float samplePeriod = 0;
    uint32_t pauseMs = 0;
    bool pausePlayed = false;
};

PulseGenerator gen;
TapeBlock* loopStart = nullptr; // the block after the open 0x24, and its repeats left
uint32_t loopLeft = 0;
TapeBlock* callBlock = nullptr; // the 0x26 being followed, and which of its calls plays
size_t callIndex = 0;
// Block moves without an edge before a tape is taken to have ended: a tape whose jumps
// or loops go round without a sound would otherwise keep the tick busy for ever.
constexpr int kSilentMovesLimit = 1 << 20;

float MachineClock() {
    return float(machine.frameTstates) * 50.0f;
}
float Scaled(uint32_t tzxTstates) {
    return float(tzxTstates) * MachineClock() / kTzxClock;
}
void Toggle() {
    tapeDeck.tapeLevel = uint8_t(1 - tapeDeck.tapeLevel);
}
// Adds a pulse to the time left; a late edge (countdown below 0) shortens the next one,
// so no error builds up.
void Wait(float length) {
    if (length < 1) length = 1; // a zero-length pulse in a damaged file must still move time on
    tapeDeck.edgeCountdown = int32_t(length + float(tapeDeck.edgeCountdown));
}

void NextBlock() {
    SelectBlock(tapeDeck.currentBlock ? tapeDeck.currentBlock->next : nullptr);
}

// The block `offset` blocks from `from` (TZX jumps are relative); none off the tape,
// and none for 0, which the format does not allow (it would jump to itself).
TapeBlock* BlockAt(const TapeBlock& from, int offset) {
    const long index = long(from.index) + offset;
    if (offset == 0 || index < 0 || index >= long(tapeDeck.tapeInDeck->blocks.size())) return nullptr;
    return &tapeDeck.tapeInDeck->blocks[size_t(index)];
}

// A jump, call, return or select block: moves the tape as TZX 1.20 says.
void FollowControlBlock(TapeBlock& b) {
    const std::vector<int16_t>& jumps = b.timing.jumps;
    switch (b.blockId) {
    case 0x23:
        if (jumps.empty()) break;
        SelectBlock(BlockAt(b, jumps[0]));
        return;
    case 0x26:
        if (jumps.empty()) break;
        callBlock = &b;
        callIndex = 0;
        SelectBlock(BlockAt(b, jumps[0]));
        return;
    case 0x27:
        if (!callBlock) break;
        if (++callIndex < callBlock->timing.jumps.size()) {
            SelectBlock(BlockAt(*callBlock, callBlock->timing.jumps[callIndex]));
        } else {
            TapeBlock* after = callBlock->next;
            callBlock = nullptr;
            SelectBlock(after);
        }
        return;
    case 0x28:
        if (jumps.empty()) break;
        SelectBlock(BlockAt(b, jumps[b.timing.chosen < jumps.size() ? b.timing.chosen : 0]));
        return;
    default: break;
    }
    NextBlock();
}

// Sets the generator up for `b`; false when the block makes no signal and the deck
// has moved on (or stopped).
bool SetUpBlock(TapeBlock& b) {
    gen = PulseGenerator{};
    tapeDeck.blockStarted = true;
    const TzxTiming& t = b.timing;
    gen.usedBits = t.usedBits;
    gen.bytesLeft = b.data.size();
    gen.pauseMs = b.pause;
    switch (b.blockId) {
    case 0x10:
        if (b.data.empty()) break; // no flag byte to choose the leader from: nothing to play
        gen.pilotPulse = 1867 * kAcePilotFactor;
        gen.pilotLeft = gen.pilotTotal = b.data[0] == 0 ? 8192 : 1024;
        gen.sync1 = 557 * kAcePilotFactor;
        gen.sync2 = 733 * kAcePilotFactor;
        gen.zeroPulse = 743;
        gen.onePulse = 1477;
        gen.usedBits = 8;
        // The ROM takes a block as ended only after a long quiet pulse; a tape made with
        // no pause between the blocks would end each block inside the next one's leader.
        gen.pauseMs = std::max<uint32_t>(b.pause, 1);
        return true;
    case 0x11:
    case 0x14:
        if (b.blockId == 0x11) {
            gen.pilotPulse = Scaled(t.pilotPulse);
            gen.pilotLeft = gen.pilotTotal = t.pilotCount;
            gen.sync1 = Scaled(t.sync1);
            gen.sync2 = Scaled(t.sync2);
        } else {
            gen.phase = Phase::Data;
        }
        gen.zeroPulse = Scaled(t.zeroPulse);
        gen.onePulse = Scaled(t.onePulse);
        return true;
    case 0x12:
        gen.pilotPulse = Scaled(t.pilotPulse);
        gen.pilotLeft = gen.pilotTotal = t.pilotCount;
        gen.bytesLeft = 0;
        return true;
    case 0x13: gen.phase = Phase::Pulses; return true;
    case 0x15:
        gen.phase = Phase::Direct;
        gen.samplePeriod = Scaled(t.samplePeriod);
        return true;
    case 0x20:
        if (b.pause == 0) { // "stop the tape": the next start goes on after it
            StopTzxPlayback();
            if (b.next) tapeDeck.currentBlock = b.next;
            return false;
        }
        gen.phase = Phase::Pause;
        return true;
    case 0x2B: tapeDeck.tapeLevel = t.signalLevel; break;
    case 0x24:
        loopStart = b.next;
        loopLeft = t.loopCount;
        break;
    case 0x25:
        if (loopStart && loopLeft > 1) {
            --loopLeft;
            SelectBlock(loopStart);
            return false;
        }
        loopStart = nullptr;
        break;
    case 0x23:
    case 0x26:
    case 0x27:
    case 0x28: FollowControlBlock(b); return false;
    default: break; // information and control blocks make no sound
    }
    NextBlock();
    return false;
}

// One edge of the current block, or a move to the next block without one.
void Step() {
    TapeBlock* block = tapeDeck.currentBlock;
    if (!block) {
        SelectBlock(nullptr);
        return;
    }
    if (!tapeDeck.blockStarted && !SetUpBlock(*block)) return;
    for (;;) {
        switch (gen.phase) {
        case Phase::Pilot:
            if (gen.pilotLeft > 0) {
                --gen.pilotLeft;
                Toggle();
                Wait(gen.pilotPulse);
                return;
            }
            gen.phase = Phase::Sync1;
            continue;
        case Phase::Sync1:
            gen.phase = Phase::Sync2;
            if (gen.sync1 > 0) {
                Toggle();
                Wait(gen.sync1);
                return;
            }
            continue;
        case Phase::Sync2:
            gen.phase = Phase::Data;
            if (gen.sync2 > 0) {
                Toggle();
                Wait(gen.sync2);
                return;
            }
            continue;
        case Phase::Data:
            if (gen.secondHalf) {
                gen.secondHalf = false;
                Toggle();
                Wait(gen.currentBit ? gen.onePulse : gen.zeroPulse);
                return;
            }
            if (gen.bitsLeft > 0) {
                gen.currentByte = uint8_t(gen.currentByte << 1);
                --gen.bitsLeft;
            } else if (gen.bytesLeft == 0) {
                gen.phase = Phase::Pause;
                continue;
            } else {
                gen.currentByte = block->data[gen.dataPointer++];
                gen.bitsLeft = (gen.bytesLeft == 1 ? gen.usedBits : 8) - 1;
                --gen.bytesLeft;
            }
            gen.secondHalf = true;
            gen.currentBit = gen.currentByte & 0x80;
            Toggle();
            Wait(gen.currentBit ? gen.onePulse : gen.zeroPulse);
            return;
        case Phase::Pulses:
            if (gen.pulseIndex < block->timing.pulses.size()) {
                Toggle();
                Wait(Scaled(block->timing.pulses[gen.pulseIndex++]));
                return;
            }
            gen.phase = Phase::Pause;
            continue;
        case Phase::Direct: {
            const size_t bytes = block->data.size();
            const size_t samples = bytes == 0 ? 0 : (bytes - 1) * 8 + size_t(gen.usedBits);
            if (gen.pulseIndex < samples) {
                const size_t n = gen.pulseIndex++;
                tapeDeck.tapeLevel = (block->data[n / 8] >> (7 - n % 8)) & 1;
                Wait(gen.samplePeriod);
                return;
            }
            gen.phase = Phase::Pause;
            continue;
        }
        case Phase::Pause:
            if (gen.pauseMs > 0 && !gen.pausePlayed) {
                // One edge ends the block's last pulse; the line then stays quiet.
                gen.pausePlayed = true;
                Toggle();
                Wait(float(gen.pauseMs) * MachineClock() / 1000.0f);
                return;
            }
            NextBlock();
            return;
        }
    }
}

} // namespace

void StartTzxPlayback() {
    if (!tapeDeck.tapeInDeck || !tapeDeck.tapeInDeck->isTzx || !tapeDeck.currentBlock || tzxPlaying) return;
    if (opt_autorewind) {
        tapeDeck.currentBlock = tapeDeck.tapeInDeck->first();
        tapeDeck.tapeAtEnd = false;
    }
    if (tapeDeck.tapeAtEnd) return; // wound to its end: rewind (browser or autorewind) to play again
    tzxPlaying = true;
    tapeDeck.tapeLevel = 0;
    tapeDeck.edgeCountdown = kStartDelay;
    tapeDeck.blockStarted = false;
    loopStart = nullptr;
    loopLeft = 0;
    callBlock = nullptr;
}

void ResetTzxSignal() {
    StopTzxPlayback();
    gen = PulseGenerator{};
    loopStart = callBlock = nullptr;
    loopLeft = 0;
    callIndex = 0;
}

void StopTzxPlayback() {
    tzxPlaying = false;
    tapeDeck.tapeLevel = 0;
    tapeDeck.edgeCountdown = 0;
    tapeDeck.blockStarted = false;
}

void TapeEdgesDue() {
    // Every edge moves time on by at least one T-state, so only moves without an edge
    // can go round; a tape that does nothing else has ended.
    for (int silentMoves = 0; tapeDeck.edgeCountdown <= 0 && tzxPlaying;) {
        const int32_t before = tapeDeck.edgeCountdown;
        Step();
        silentMoves = tapeDeck.edgeCountdown == before ? silentMoves + 1 : 0;
        if (silentMoves > kSilentMovesLimit) {
            StopTzxPlayback();
            tapeDeck.tapeAtEnd = true;
        }
    }
}

BlockProgress CurrentBlockProgress() {
    if (!tapeDeck.currentBlock || !tapeDeck.blockStarted)
        return {0, tapeDeck.currentBlock ? uint32_t(tapeDeck.currentBlock->data.size()) : 0};
    const TapeBlock& b = *tapeDeck.currentBlock;
    switch (gen.phase) {
    case Phase::Pulses: return {uint32_t(gen.pulseIndex), uint32_t(b.timing.pulses.size())};
    case Phase::Pilot:
        if (b.data.empty()) return {gen.pilotTotal - gen.pilotLeft, gen.pilotTotal};
        return {0, uint32_t(b.data.size())};
    case Phase::Direct: return {uint32_t(gen.pulseIndex / 8), uint32_t(b.data.size())};
    default: return {uint32_t(gen.dataPointer), uint32_t(b.data.size())};
    }
}

TapeInternals TapeInternalState() {
    static_assert(std::is_trivially_copyable_v<PulseGenerator>);
    return {&gen, sizeof gen, loopStart, loopLeft, callBlock, callIndex};
}
