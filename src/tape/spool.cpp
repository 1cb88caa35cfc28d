#include "tape/spool.h"

#include <cstring>
#include <vector>

#include "machine/machine_state.h"
#include "machine/rom_keyboard.h"

SpoolState spool;
uint8_t opt_spool_speed = kDefaultSpoolSpeed;

namespace {

// A key of the Ace's keyboard: its half-row and bit in keyMatrix.
struct Key {
    uint8_t row, bit;
};
constexpr Key kShift{0, 0}, kSymbolShift{0, 1}, kEnter{6, 0}, kSpace{7, 0};

// The digit keys 0-9: 1-5 on half-row 3 from bit 0, 6-0 on half-row 4 from bit 4 down.
constexpr Key kDigit[10] = {{4, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 4}, {4, 3}, {4, 2}, {4, 1}};

// The letter keys A-Z.
constexpr Key kLetter[26] = {
    {1, 0}, {7, 3}, {0, 4}, {1, 2}, {2, 2}, {1, 3}, {1, 4}, {6, 4}, {5, 2}, {6, 3}, {6, 2}, {6, 1}, {7, 1},
    {7, 2}, {5, 1}, {5, 0}, {2, 0}, {2, 3}, {1, 1}, {2, 4}, {5, 3}, {7, 4}, {2, 1}, {0, 3}, {5, 4}, {0, 2},
};

constexpr Key Letter(char c) {
    return kLetter[c - 'A'];
}

// Symbols typed with SYMBOL SHIFT and one key.
struct SymbolKey {
    char symbol;
    Key key;
};
constexpr SymbolKey kSymbols[] = {
    {'!', kDigit[1]},   {'"', Letter('P')}, {'#', kDigit[3]},      {'$', kDigit[4]},    {'%', kDigit[5]},
    {'&', kDigit[6]},   {'\'', kDigit[7]},  {'(', kDigit[8]},      {')', kDigit[9]},    {'*', Letter('B')},
    {'+', Letter('K')}, {',', Letter('N')}, {'-', Letter('J')},    {'.', Letter('M')},  {'/', Letter('V')},
    {':', Letter('Z')}, {';', Letter('O')}, {'<', Letter('R')},    {'=', Letter('L')},  {'>', Letter('T')},
    {'?', Letter('C')}, {'@', kDigit[2]},   {'[', Letter('Y')},    {'\\', Letter('D')}, {']', Letter('U')},
    {'^', Letter('H')}, {'_', kDigit[0]},   {'`', Letter('X')},    {'{', Letter('F')},  {'|', Letter('S')},
    {'}', Letter('G')}, {'~', Letter('A')}, {'\x7F', Letter('I')},
};

// The Keyboard Helper's control codes 4-12: the Ace's SHIFTed digit keys (cursor keys,
// DELETE, GRAPHICS and friends).
constexpr uint8_t kHelperShiftedDigit[9] = {4, 5, 6, 7, 8, 9, 0, 2, 1};

void Add(KeyChord& keys, Key k) {
    keys.rows[k.row] |= uint8_t(1 << k.bit);
}

} // namespace

bool KeyChord::Empty() const {
    for (uint8_t r : rows)
        if (r) return false;
    return true;
}

bool SpoolCharacterKeys(uint8_t code, KeyChord& keys) {
    keys = KeyChord{};
    if (code >= 'a' && code <= 'z') {
        Add(keys, kLetter[code - 'a']);
    } else if (code >= 'A' && code <= 'Z') {
        Add(keys, kShift);
        Add(keys, kLetter[code - 'A']);
    } else if (code >= '0' && code <= '9') {
        Add(keys, kDigit[code - '0']);
    } else if (code == 13) {
        Add(keys, kEnter);
    } else if (code == ' ') {
        Add(keys, kSpace);
    } else {
        for (const SymbolKey& s : kSymbols) {
            if (uint8_t(s.symbol) != code) continue;
            Add(keys, kSymbolShift);
            Add(keys, s.key);
            return true;
        }
        return false;
    }
    return true;
}

void PressKeys(const KeyChord& keys) {
    for (int n = 0; n < 8; ++n)
        machine.keyMatrix[n] &= uint8_t(~keys.rows[n]);
}

void ReleaseKeyMatrix() {
    std::memset(machine.keyMatrix, 0xFF, sizeof machine.keyMatrix);
}

void StartSpool(const char* text, int length) {
    if (!text || length < 0) length = 0;
    spool.spoolText.assign(text, text + length);
    spool.spoolLeft = length;
    spool.spoolPos = 0;
    // A key still down from the text before (its typing was cut short) is let go first,
    // and the pacer keeps what it knows: after an ENTER the ROM may still be working on
    // that line, and a key pressed now would be thrown away.
    if (spool.spoolPacer.KeyDown()) {
        ReleaseKeyMatrix();
        spool.spoolPacer.KeyWentUp();
    }
    spool.spoolActive = true;
    spool.spoolKeys = KeyChord{};
    spool.leastFrames = -1;
}

void StartSpool(const std::string& text, int leastFramesPerCharacter) {
    StartSpool(text);
    spool.leastFrames = leastFramesPerCharacter;
}

bool SpoolStep() {
    while (spool.spoolLeft > 0 && spool.spoolPos < int(spool.spoolText.size())) {
        --spool.spoolLeft;
        uint8_t c = uint8_t(spool.spoolText[size_t(spool.spoolPos++)]);
        // Text from Linux ends its lines with a line feed alone, and that ends a line on
        // the Ace too. After a carriage return the line feed is skipped: CR LF is one ENTER.
        if (c == '\n' && (spool.spoolPos < 2 || spool.spoolText[size_t(spool.spoolPos - 2)] != '\r')) c = 13;
        if (!SpoolCharacterKeys(c, spool.spoolKeys)) continue; // keyless bytes type nothing
        PressKeys(spool.spoolKeys);
        return true;
    }
    spool.spoolLeft = 0;
    return false;
}

void SpoolFrameEnded() {
    spool.spoolPacer.FrameEnded();
    if (spool.spoolPacer.KeyDown()) {
        // Down until the ROM has taken it, even if something let go of every key meanwhile.
        PressKeys(spool.spoolKeys);
        if (!spool.spoolPacer.MayRelease()) return;
        ReleaseKeyMatrix();
        spool.spoolPacer.KeyWentUp();
        return;
    }
    // The spool speed is the least time a character takes.
    const int least = spool.leastFrames >= 0 ? spool.leastFrames : opt_spool_speed;
    if (spool.spoolPacer.FramesSinceDown() < least || !spool.spoolPacer.MayPress()) return;
    if (SpoolStep()) {
        spool.spoolPacer.KeyWentDown();
        return;
    }
    spool.spoolActive = false;
    std::vector<char>().swap(spool.spoolText);
}

void ClearSpool() {
    spool.spoolLeft = spool.spoolPos = 0;
}

void CancelSpool() {
    if (!spool.spoolActive) return;
    ClearSpool();
    spool.spoolActive = false;
    std::vector<char>().swap(spool.spoolText);
    ReleaseKeyMatrix();
}

int SpoolPercent() {
    const int total = int(spool.spoolText.size());
    return total > 0 ? int((long long)(total - spool.spoolLeft) * 100 / total) : 100;
}

long SpoolFrameBound() {
    return (long(spool.spoolLeft) + 1) * (opt_spool_speed + RomKeyPacer::kMaxFramesPerKey) + 16;
}

void TypeHelperCharacter(uint8_t code) {
    KeyChord keys{};
    if (code >= 4 && code <= 12) {
        Add(keys, kShift);
        Add(keys, kDigit[kHelperShiftedDigit[code - 4]]);
    } else if (code == 127) {
        return;
    } else if (code == ' ' && spool.spoolActive) {
        return;
    } else if (!SpoolCharacterKeys(code, keys)) {
        return; // unlisted: press nothing, release nothing
    }
    PressKeys(keys);
}

void SpoolState::Reset() {
    *this = SpoolState{};
    opt_spool_speed = kDefaultSpoolSpeed;
}
