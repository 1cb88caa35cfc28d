#include "machine/rom_keyboard.h"

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
