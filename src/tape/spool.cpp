#include "tape/spool.h"

#include <vector>

#include "machine/machine_state.h"
#include "machine/rom_keyboard.h"

SpoolState spool;
uint8_t opt_spool_speed = kDefaultSpoolSpeed;

namespace {


} // namespace

void StartSpool(const char* text, int length) {
    if (!text || length < 0) length = 0;
    spool.spoolText.assign(text, text + length);
    spool.spoolLeft = length;
    spool.spoolPos = 0;
    // A key still down from the text before (its typing was cut short) is let go first,
    // and the pacer keeps what it knows: after an ENTER the ROM may still be working on
    // that line, and a key pressed now would be thrown away.
    if (spool.spoolPacer.KeyDown()) {
        ReleaseAllKeys();
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
        ReleaseAllKeys();
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
    ReleaseAllKeys();
}

int SpoolPercent() {
    const int total = int(spool.spoolText.size());
    return total > 0 ? int((long long)(total - spool.spoolLeft) * 100 / total) : 100;
}

long SpoolFrameBound() {
    return (long(spool.spoolLeft) + 1) * (opt_spool_speed + RomKeyPacer::kMaxFramesPerKey) + 16;
}

void TypeHelperCharacter(uint8_t code) {
    // Unlisted codes press nothing and release nothing; a space would land in the spool.
    if (code == 127 || (code == ' ' && spool.spoolActive)) return;
    KeyChord keys;
    if (EditingCodeKeys(code, keys) || SpoolCharacterKeys(code, keys)) PressKeys(keys);
}

void SpoolState::Reset() {
    *this = SpoolState{};
    opt_spool_speed = kDefaultSpoolSpeed;
}
