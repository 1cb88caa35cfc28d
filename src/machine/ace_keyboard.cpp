#include "machine/ace_keyboard.h"

#include <cstring>

#include "machine/machine_state.h"

void PressAceKey(AceKey key) {
    machine.keyMatrix[key.row] &= uint8_t(~key.Mask());
}
void ReleaseAceKey(AceKey key) {
    machine.keyMatrix[key.row] |= key.Mask();
}
bool AceKeyDown(AceKey key) {
    return (machine.keyMatrix[key.row] & key.Mask()) == 0;
}

void ReleaseAllKeys() {
    std::memset(machine.keyMatrix, 0xFF, sizeof machine.keyMatrix);
}

bool KeyChord::Empty() const {
    for (uint8_t r : rows)
        if (r) return false;
    return true;
}

bool SpoolCharacterKeys(uint8_t code, KeyChord& keys) {
    keys = KeyChord{};
    if (code == 0) return false;
    const bool upperCase = code >= 'A' && code <= 'Z';
    for (const AceKeyCap& cap : kAceKeys) {
        if (cap.character == code) {
            keys.Add(cap.key);
        } else if (upperCase && cap.shifted == code) {
            keys.Add(kAceShift);
            keys.Add(cap.key);
        } else if (cap.symbol == code) {
            keys.Add(kAceSymbolShift);
            keys.Add(cap.key);
        } else {
            continue;
        }
        return true;
    }
    return false;
}

bool EditingCodeKeys(uint8_t code, KeyChord& keys) {
    keys = KeyChord{};
    if (code < 4 || code > 12) return false;
    for (const AceKeyCap& cap : kAceKeys) {
        if (cap.shifted != code) continue;
        keys.Add(kAceShift);
        keys.Add(cap.key);
        return true;
    }
    return false;
}

void PressKeys(const KeyChord& keys) {
    for (int n = 0; n < 8; ++n)
        machine.keyMatrix[n] &= uint8_t(~keys.rows[n]);
}
