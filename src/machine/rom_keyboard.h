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
#pragma once

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
