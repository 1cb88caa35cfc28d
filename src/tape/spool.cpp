#include "tape/spool.h"

#include <vector>

#include "machine/machine_state.h"
#include "machine/rom_keyboard.h"

bool spoolActive = false;
int spoolLeft = 0;
int spoolPos = 0;
int typingCounter = 0;
uint8_t opt_spool_speed = kDefaultSpoolSpeed;
bool helperTyping = false;
uint8_t helperPendingCharacter = 0;

namespace {

std::vector<char> spoolText;
KeyChord spoolKeys{};   // the character down now
RomKeyPacer spoolPacer; // the same pace as keys typed on the PC
int leastFrames = -1;   // least frames per character; -1 = opt_spool_speed

} // namespace

void StartSpool(const char* text, int length) {
    if (!text || length < 0) length = 0;
    spoolText.assign(text, text + length);
    spoolLeft = length;
    spoolPos = 0;
    // A key still down from the text before (its typing was cut short) is let go first,
    // and the pacer keeps what it knows: after an ENTER the ROM may still be working on
    // that line, and a key pressed now would be thrown away.
    if (spoolPacer.KeyDown()) {
        ReleaseAllKeys();
        spoolPacer.KeyWentUp();
    }
    spoolActive = true;
    spoolKeys = KeyChord{};
    leastFrames = -1;
}

void StartSpool(const std::string& text, int leastFramesPerCharacter) {
    StartSpool(text);
    leastFrames = leastFramesPerCharacter;
}

bool SpoolStep() {
    while (spoolLeft > 0 && spoolPos < int(spoolText.size())) {
        --spoolLeft;
        uint8_t c = uint8_t(spoolText[size_t(spoolPos++)]);
        // Text from Linux ends its lines with a line feed alone, and that ends a line on
        // the Ace too. After a carriage return the line feed is skipped: CR LF is one ENTER.
        if (c == '\n' && (spoolPos < 2 || spoolText[size_t(spoolPos - 2)] != '\r')) c = 13;
        if (!SpoolCharacterKeys(c, spoolKeys)) continue; // keyless bytes type nothing
        PressKeys(spoolKeys);
        return true;
    }
    spoolLeft = 0;
    return false;
}

void SpoolFrameEnded() {
    spoolPacer.FrameEnded();
    if (spoolPacer.KeyDown()) {
        // Down until the ROM has taken it, even if something let go of every key meanwhile.
        PressKeys(spoolKeys);
        if (!spoolPacer.MayRelease()) return;
        ReleaseAllKeys();
        spoolPacer.KeyWentUp();
        return;
    }
    // The spool speed is the least time a character takes.
    const int least = leastFrames >= 0 ? leastFrames : opt_spool_speed;
    if (spoolPacer.FramesSinceDown() < least || !spoolPacer.MayPress()) return;
    if (SpoolStep()) {
        spoolPacer.KeyWentDown();
        return;
    }
    spoolActive = false;
    std::vector<char>().swap(spoolText);
}

void ClearSpool() {
    spoolLeft = spoolPos = 0;
}

void CancelSpool() {
    if (!spoolActive) return;
    ClearSpool();
    spoolActive = false;
    std::vector<char>().swap(spoolText);
    ReleaseAllKeys();
}

int SpoolPercent() {
    const int total = int(spoolText.size());
    return total > 0 ? int((long long)(total - spoolLeft) * 100 / total) : 100;
}

long SpoolFrameBound() {
    return (long(spoolLeft) + 1) * (opt_spool_speed + RomKeyPacer::kMaxFramesPerKey) + 16;
}

void TypeHelperCharacter(uint8_t code) {
    // Unlisted codes press nothing and release nothing; a space would land in the spool.
    if (code == 127 || (code == ' ' && spoolActive)) return;
    KeyChord keys;
    if (EditingCodeKeys(code, keys) || SpoolCharacterKeys(code, keys)) PressKeys(keys);
}

void ResetSpool() {
    std::vector<char>().swap(spoolText);
    spoolActive = false;
    spoolLeft = spoolPos = 0;
    spoolPacer.Reset();
    typingCounter = 0;
    opt_spool_speed = kDefaultSpoolSpeed;
    helperTyping = false;
    helperPendingCharacter = 0;
}

SpoolInternals SpoolInternalState() {
    return {spoolText, spoolKeys, spoolPacer, leastFrames};
}
