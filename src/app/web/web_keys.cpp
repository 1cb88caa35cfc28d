#include "web_keys.h"

#include <map>

#include "app/key_queue.h"
#include "app/keyboard.h"

namespace {

std::map<int, AceKeyStroke> held;

bool StrokeFor(int character, int virtualKey, bool ctrl, AceKeyStroke& stroke) {
    KeyChord keys;
    const int code = ctrl || character < 0 ? -1 : AceCodeForCharacter(char32_t(character));
    if (code >= 0 && SpoolCharacterKeys(uint8_t(code), keys)) {
        stroke = AceKeyStroke::Character(keys);
        return true;
    }
    if (virtualKey < 0 || virtualKey > 0xFF) return false;
    stroke = AceKeyStroke::Key(virtualKey);
    return true;
}

} // namespace

bool WebKeyPressed(int heldId, int character, int virtualKey, bool ctrl) {
    if (held.count(heldId)) return true; // the browser's auto-repeat: the ROM repeats by itself
    AceKeyStroke stroke;
    if (!StrokeFor(character, virtualKey, ctrl, stroke)) return false;
    held[heldId] = stroke;
    QueueKeyPress(stroke);
    return true;
}

bool WebKeyReleased(int heldId) {
    const auto it = held.find(heldId);
    if (it == held.end()) return false; // pressed before the page had the focus
    QueueKeyRelease(it->second);
    held.erase(it);
    return true;
}

void WebReleaseAllKeys() {
    held.clear();
    ClearKeyQueue();
    ReleaseAllKeys();
    shiftHeld = symbolHeld = false;
}
