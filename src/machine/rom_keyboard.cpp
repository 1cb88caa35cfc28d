#include "machine/rom_keyboard.h"

#include <cstdint>
#include <initializer_list>
#include <limits>

using namespace rom_keyboard;

void RomKeyPacer::FrameEnded() {
    ++frames_;
    if (down_ && TookKey()) taken_ = true;
    if (!down_ && SawNoKey()) sawNoKey_ = true;
}

void RomKeyPacer::KeyWentDown() {
    down_ = true;
    taken_ = false;
    downAt_ = frames_;
    editorWaited_ = WantsInput();
}

void RomKeyPacer::KeyWentUp() {
    down_ = false;
    upAt_ = frames_;
    sawNoKey_ = false;
}

bool RomKeyPacer::MayRelease() const {
    const long held = frames_ - downAt_;
    return held >= kMinHoldFrames && (taken_ || held >= kMaxHoldFrames);
}

bool RomKeyPacer::MayPress() const {
    if (down_) return false;
    const long gap = frames_ - upAt_;
    if (gap < 1 || (!sawNoKey_ && gap < kMaxGapFrames)) return false;
    // The last key was taken by the waiting editor, which now works on the line it ended
    // (ENTER): a key now would be read and thrown away.
    const bool editorBusy = taken_ && editorWaited_ && !WantsInput();
    return !editorBusy || gap >= kMaxBusyFrames;
}

void RomKeyPacer::Reset() {
    *this = RomKeyPacer();
}

void RomKeyPacer::WriteState(uint8_t* out) const {
    for (const long value : {frames_, downAt_, upAt_}) {
        const uint64_t bits = uint64_t(int64_t(value));
        for (int k = 0; k < 8; ++k)
            *out++ = uint8_t(bits >> (8 * k));
    }
    for (const bool flag : {down_, taken_, sawNoKey_, editorWaited_})
        *out++ = flag;
}

bool RomKeyPacer::ReadState(const uint8_t* in) {
    long values[3];
    for (long& value : values) {
        uint64_t bits = 0;
        for (int k = 0; k < 8; ++k)
            bits |= uint64_t(*in++) << (8 * k);
        // Frame counts, far from the type's ends (a long may have 32 bits).
        const int64_t wide = int64_t(bits), far = std::numeric_limits<long>::max() / 2;
        if (wide < -far || wide > far) return false;
        value = long(wide);
    }
    for (int k = 0; k < 4; ++k)
        if (in[k] > 1) return false;
    frames_ = values[0];
    downAt_ = values[1];
    upAt_ = values[2];
    down_ = in[0];
    taken_ = in[1];
    sawNoKey_ = in[2];
    editorWaited_ = in[3];
    return true;
}
