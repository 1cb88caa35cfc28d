#include "machine/rewind_buffer.h"

#include <cstring>

#include "base/byte_packing.h"
#include "base/host.h"
#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/run_state.h"
#include "machine/saved_state.h"
#include "machine/z80.h"

RewindBuffer* applicationRewindBuffer = nullptr;

namespace {

// Breakpoints, watchpoints and the PC log do not see the replayed frames; the run
// state lets the frames run unpaced; the frame count (the status bar's frames a second)
// does not count them.
class ReplayGuard {
  public:
    ReplayGuard()
        : debug_(debugHooksOn), watch_(watchpointsOn), log_(pcLogOn), oneFrame_(pcLogOneFrame), paused_(runState.Paused),
          focus_(runState.FocusPaused), fast_(runState.FastMode), frames_(frameDriver.frameCounter) {
        debugHooksOn = watchpointsOn = pcLogOn = pcLogOneFrame = false;
        runState.Paused = runState.FocusPaused = false;
        runState.FastMode = true;
    }
    ~ReplayGuard() {
        debugHooksOn = debug_;
        watchpointsOn = watch_;
        pcLogOn = log_;
        pcLogOneFrame = oneFrame_;
        runState.Paused = paused_;
        runState.FocusPaused = focus_;
        runState.FastMode = fast_;
        frameDriver.frameCounter = frames_;
    }

  private:
    bool debug_, watch_, log_, oneFrame_, paused_, focus_, fast_;
    uint64_t frames_;
};

} // namespace

std::vector<uint8_t> RewindBuffer::Pack(const std::vector<uint8_t>& raw, const std::vector<uint8_t>* base) const {
    std::vector<uint8_t> packed;
    if (!base) {
        PackBytes(raw.data(), raw.size(), packed);
        return packed;
    }
    std::vector<uint8_t> delta = raw;
    XorBytes(delta.data(), base->data(), delta.size());
    PackBytes(delta.data(), delta.size(), packed);
    return packed;
}

bool RewindBuffer::Unpack(size_t index, std::vector<uint8_t>& raw) const {
    size_t full = index;
    while (!states_[full].full)
        --full; // the oldest state is always whole
    if (!UnpackBytes(states_[full].packed.data(), states_[full].packed.size(), states_[full].rawSize, raw))
        return false;
    std::vector<uint8_t> delta;
    for (size_t k = full + 1; k <= index; ++k) {
        if (!UnpackBytes(states_[k].packed.data(), states_[k].packed.size(), states_[k].rawSize, delta))
            return false;
        XorBytes(raw.data(), delta.data(), raw.size());
    }
    return true;
}

void RewindBuffer::KeepState() {
    std::vector<uint8_t> raw = CaptureMachineState();
    State state;
    state.frame = frame_;
    state.rawSize = raw.size();
    state.full = states_.empty() || sinceFull_ + 1 >= kStatesPerFullState || newestRaw_.size() != raw.size();
    state.packed = Pack(raw, state.full ? nullptr : &newestRaw_);
    sinceFull_ = state.full ? 0 : sinceFull_ + 1;
    bytes_ += state.packed.size();
    // A second state at the same frame (the machine changed between frames) replaces
    // nothing: replays start from the newest state at or before their target.
    states_.push_back(std::move(state));
    newestRaw_ = std::move(raw);
}

void RewindBuffer::DropOldest() {
    if (states_.size() > 1 && !states_[1].full) {
        // The next one becomes whole, so that it no longer needs the one that goes.
        std::vector<uint8_t> raw;
        if (Unpack(1, raw)) {
            bytes_ -= states_[1].packed.size();
            states_[1].packed = Pack(raw, nullptr);
            states_[1].full = true;
            bytes_ += states_[1].packed.size();
        }
    }
    bytes_ -= states_.front().packed.size();
    states_.pop_front();
    const long keepFrom = states_.empty() ? frame_ : states_.front().frame;
    while (!inputs_.empty() && firstInputFrame_ < keepFrom) {
        inputs_.pop_front();
        ++firstInputFrame_;
    }
}

void RewindBuffer::DropExpired() {
    for (;;) {
        size_t next = 1;
        while (next < states_.size() && !states_[next].full)
            ++next;
        if (next >= states_.size() || frame_ - states_[next].frame < kKeptFrames) break;
        while (next-- > 0)
            DropOldest();
    }
    while (states_.size() > 1 && bytes_ > kMaxBytes)
        DropOldest();
}

void RewindBuffer::FrameStarting() {
    Host& h = host();
    const double start = h.NowSeconds();
    if (inputs_.empty()) firstInputFrame_ = frame_;
    std::array<uint8_t, 8> keys;
    std::memcpy(keys.data(), machine.keyMatrix, keys.size());
    inputs_.push_back(keys);
    if (changed_ || frame_ % kFramesPerState == 0) {
        KeepState();
        changed_ = false;
    }
    DropExpired();
    ++frame_;
    ++framesSeen_;
    secondsSpent_ += h.NowSeconds() - start;
}

long RewindBuffer::FramesKept() const {
    if (states_.empty()) return 0;
    const long back = frame_ - states_.front().frame;
    return back < kKeptFrames ? back : kKeptFrames;
}

bool RewindBuffer::Rewind(long frames, std::string& error) {
    if (frames < 0 || frames > FramesKept()) {
        error = "only " + std::to_string(FramesKept() / 50) + "." + std::to_string(FramesKept() % 50 * 2 / 10) +
                " emulated seconds are kept";
        return false;
    }
    const long target = frame_ - frames;
    if (!PutBack(target, error)) return false;
    ForgetAfter(target);
    return true;
}

bool RewindBuffer::UndoInstructions(long n, std::vector<uint8_t>& frameStart, long& steps, std::string& error) {
    // Frames back, from the newest, until they hold n instructions: each is put back and
    // counted by running it.
    long counted = 0, back = 0, inFrame = 0;
    while (counted < n) {
        if (++back > FramesKept()) {
            error = "only " + std::to_string(counted) + " instructions are kept";
            return false;
        }
        if (!PutBack(frame_ - back, error)) return false;
        ReplayGuard guard;
        MachineState& m = machine;
        for (inFrame = 0; m.tstates < m.frameTstates; ++inFrame)
            ExecuteInstruction();
        counted += inFrame;
    }
    if (!PutBack(frame_ - back, error)) return false;
    frameStart = CaptureMachineState();
    steps = counted - n;
    {
        ReplayGuard guard;
        for (long k = 0; k < steps; ++k)
            ExecuteInstruction();
    }
    ForgetAfter(frame_ - back);
    return true;
}

bool RewindBuffer::PutBack(long target, std::string& error) {
    size_t index = states_.size();
    while (index > 0 && states_[index - 1].frame > target)
        --index;
    if (index == 0) {
        error = "the buffer holds no state that early";
        return false;
    }
    --index;
    std::vector<uint8_t> raw;
    if (!Unpack(index, raw) || !RestoreMachineState(raw, error)) {
        if (error.empty()) error = "a kept state is damaged";
        return false;
    }
    {
        ReplayGuard guard;
        for (long f = states_[index].frame; f < target; ++f) {
            std::memcpy(machine.keyMatrix, inputs_[size_t(f - firstInputFrame_)].data(), 8);
            RunFrame();
        }
    }
    if (target < frame_) std::memcpy(machine.keyMatrix, inputs_[size_t(target - firstInputFrame_)].data(), 8);
    return true;
}

void RewindBuffer::ForgetAfter(long target) {
    while (!states_.empty() && states_.back().frame > target) {
        bytes_ -= states_.back().packed.size();
        states_.pop_back();
    }
    inputs_.resize(size_t(target - firstInputFrame_));
    frame_ = target;
    newestRaw_.clear(); // the next state is kept whole
    changed_ = true;
}

void RewindBuffer::Clear() {
    states_.clear();
    inputs_.clear();
    newestRaw_.clear();
    bytes_ = 0;
    sinceFull_ = 0;
    changed_ = true;
}
