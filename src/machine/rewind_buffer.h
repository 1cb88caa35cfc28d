// The rewind buffer: the last minute of emulated time, kept as a machine state every
// emulated second (packed, each a delta against the one before) and the keyboard as it
// stood at the start of every frame between them. Going back replays from the nearest
// state before the target, so any frame start in the minute comes back exactly.
//
// Usage: whoever runs the frames calls FrameStarting() before each RunFrame (only then
// is anything kept: a run without a buffer pays nothing), and MachineChanged() after
// anything else changed the machine (a file loaded, the debugger stepped or edited, a
// state loaded): the next frame start then keeps a state, so no replay crosses it.
// Rewind(frames) puts the machine back to the start of the frame that many frames ago.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class RewindBuffer;
// The buffer the desktop application keeps as it runs (null when none): the debugger's
// Step Back reaches back through it past the steps it made itself.
extern RewindBuffer* applicationRewindBuffer;

class RewindBuffer {
  public:
    static constexpr long kFramesPerState = 50;       // one emulated second
    static constexpr long kKeptFrames = 60 * 50;      // a minute
    static constexpr size_t kMaxBytes = 16u << 20;     // however full the machine's memory
    static constexpr int kStatesPerFullState = 10;     // a whole state among the deltas

    void FrameStarting();
    void MachineChanged() { changed_ = true; }
    // Frames that Rewind can go back from now (the minute, or less since the start).
    long FramesKept() const;
    // Back to the start of the frame `frames` frames ago, replaying the frames from the
    // nearest state before it; false with a reason when the buffer does not reach back
    // that far. Breakpoints and the PC log sleep during the replay.
    bool Rewind(long frames, std::string& error);
    // Undoes the last `n` instructions of the frames run, the machine being at the end of
    // a frame (nothing changed it since): back to the start of the frame that holds the
    // instruction n back, and on to the instruction before it. Each instruction counts
    // as a step of the debugger does (an accepted interrupt is one). `frameStart` gets
    // the state the frame started from and `steps` the instructions run since, so that a
    // stepping history can go on from there.
    bool UndoInstructions(long n, std::vector<uint8_t>& frameStart, long& steps, std::string& error);
    void Clear();

    size_t Bytes() const { return bytes_; }
    // Host seconds spent keeping states and inputs, and frames seen: the buffer's cost.
    double SecondsSpent() const { return secondsSpent_; }
    long FramesSeen() const { return framesSeen_; }

  private:
    struct State {
        long frame = 0;
        bool full = false;          // packed whole; else packed as a delta to the one before
        std::vector<uint8_t> packed;
        size_t rawSize = 0;
    };
    // The machine as it was at the start of frame `target` (kept, not yet rewound to).
    bool PutBack(long target, std::string& error);
    // What came after frame `target` is gone: the frames from there on are new ones.
    void ForgetAfter(long target);
    void KeepState();
    void DropOldest();
    // Drops the states no longer needed for the minute: whole groups of a full state and
    // its deltas, once the next group alone reaches back a minute (so no delta has to be
    // packed again), and single states while the buffer is over its size.
    void DropExpired();
    // The raw state of keyframe `index`, unpacked through the deltas from the last whole one.
    bool Unpack(size_t index, std::vector<uint8_t>& raw) const;
    std::vector<uint8_t> Pack(const std::vector<uint8_t>& raw, const std::vector<uint8_t>* base) const;

    std::deque<State> states_;
    std::deque<std::array<uint8_t, 8>> inputs_; // the key matrix at each frame start
    long firstInputFrame_ = 0;
    std::vector<uint8_t> newestRaw_; // the newest state unpacked: the next delta's base
    int sinceFull_ = 0;
    long frame_ = 0; // frames started (a rewind takes it back)
    long framesSeen_ = 0;
    bool changed_ = true;
    size_t bytes_ = 0;
    double secondsSpent_ = 0;
};
