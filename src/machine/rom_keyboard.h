// What the Ace ROM's keyboard routine shows of itself in its system variables, so that
// typing can go at the pace the ROM takes keys.
//
// The frame interrupt scans the keyboard once a frame (KEYBRD) and keeps the key it saw
// in KEYCOD, with a countdown in KEYCNT: 0x20 when a key is first seen, one less at each
// scan that finds it still down. A key counts as typed at the scan that takes KEYCNT to
// 0x1E (its third); a key that is not the one held before is only looked at after a scan
// found no key at all (KEYCOD 0). The key is used only while the line editor waits for
// input (STATIN bit 0): ENTER clears that bit, and keys taken while the ROM works on the
// line are thrown away.
//
// RomKeyPacer applies that to typing one key at a time (the PC key queue and spool text
// both go through it): a key goes down once the ROM has seen the keyboard empty and its
// line editor is not busy with a line typed before, and comes up once the ROM has taken
// it. That is three frames down and one up while the editor waits, the pace the ROM
// reads at. Each wait has a bound, for a program that keeps the interrupt off or reads
// the keyboard its own way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "machine/machine_state.h"

namespace rom_keyboard {

constexpr uint16_t kKeyCode = 0x3C26;  // KEYCOD: the key the last scan saw, 0 = none
constexpr uint16_t kKeyCount = 0x3C27; // KEYCNT: the countdown while it stays down
constexpr uint16_t kStatin = 0x3C28;   // STATIN: the line editor's flags
constexpr uint8_t kTakenCount = 0x1E;  // KEYCNT when the key was typed
constexpr uint8_t kWantsInput = 0x01;  // STATIN: the editor takes keys
constexpr uint8_t kCapsLock = 0x02;
constexpr uint8_t kGraphics = 0x04;
constexpr uint8_t kInverseVideo = 0x08;

// The last scan found no key: the next key will be looked at.
inline bool SawNoKey() {
    return ramBlock[kKeyCode] == 0;
}
// The key held down has been typed (it counts from the third scan that saw it).
inline bool TookKey() {
    return ramBlock[kKeyCode] != 0 && ramBlock[kKeyCount] <= kTakenCount;
}
// The line editor waits for keys (not while the ROM works on an entered line or runs a
// program).
inline bool WantsInput() {
    return (ramBlock[kStatin] & kWantsInput) != 0;
}
inline bool StatinFlag(uint8_t flag) {
    return (ramBlock[kStatin] & flag) != 0;
}

} // namespace rom_keyboard

class RomKeyPacer {
  public:
    static constexpr int kMinHoldFrames = 3;     // the ROM's three scans
    static constexpr int kMaxHoldFrames = 10;    // then up, taken or not
    static constexpr int kMaxGapFrames = 10;     // then down, whether the ROM saw the gap or not
    static constexpr int kMaxBusyFrames = 250;   // five seconds for the editor to finish a line
    // The longest a key can take from the last one's release to its own (the bound of
    // a typing loop).
    static constexpr int kMaxFramesPerKey = kMaxBusyFrames + kMaxHoldFrames + 1;

    // At the end of every emulated frame.
    void FrameEnded();
    void KeyWentDown();
    void KeyWentUp();
    bool KeyDown() const { return down_; }
    // The ROM has taken the key that is down (or it has been down long enough).
    bool MayRelease() const;
    // The next key can go down: nothing is down, the ROM saw the keyboard empty, and
    // the editor is not working on what was typed (each within its bound).
    bool MayPress() const;
    // Frames since the last key went down (far in the past when none has).
    long FramesSinceDown() const { return frames_ - downAt_; }
    void Reset();

    // Its whole state as kStateBytes bytes, for saved machine states, and back: false,
    // and nothing changed, when the bytes cannot be a pacer's.
    static constexpr size_t kStateBytes = 3 * 8 + 4;
    void WriteState(uint8_t* out) const;
    bool ReadState(const uint8_t* in);

  private:
    long frames_ = 0;
    long downAt_ = -100000, upAt_ = -100000;
    bool down_ = false;
    bool taken_ = false;         // the ROM took the key that is (or was last) down
    bool sawNoKey_ = true;       // a scan since the release found the keyboard empty
    bool editorWaited_ = false;  // the editor waited for input when the last key went down
};
