#include "app/key_queue.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "app/keyboard.h"
#include "app/virtual_keys.h"
#include "machine/rom_keyboard.h"

namespace {

struct QueuedEvent {
    bool press;
    AceKeyStroke stroke;
};

std::deque<QueuedEvent> waiting;
RomKeyPacer pacer;

// The key (not Shift or Ctrl) that is down on the Ace, and the keys let go before their
// PC key came up, to make way for the next key (their releases then do nothing).
AceKeyStroke keyDown;
std::vector<AceKeyStroke> letGoEarly;

bool TakeLetGoEarly(const AceKeyStroke& s) {
    const auto it = std::find(letGoEarly.begin(), letGoEarly.end(), s);
    if (it == letGoEarly.end()) return false;
    letGoEarly.erase(it);
    return true;
}

void Press(const AceKeyStroke& s) {
    if (s.virtualKey >= 0)
        KeyDown(s.virtualKey);
    else
        CharacterKeyDown(s.chord);
}

void Release(const AceKeyStroke& s) {
    if (s.virtualKey >= 0)
        KeyUp(s.virtualKey);
    else
        CharacterKeyUp(s.chord);
}

// Applies the event at the head of the queue if the ROM is ready for it; false when it
// must wait.
bool ApplyHead() {
    const QueuedEvent& event = waiting.front();
    const AceKeyStroke& s = event.stroke;
    // Shift and Ctrl go down at once (they only qualify the key that follows), and
    // come up once the key they qualify has been taken.
    if (s.IsModifier()) {
        if (!event.press && pacer.KeyDown() && !pacer.MayRelease()) return false;
        (event.press ? Press : Release)(s);
        return true;
    }
    if (!event.press) {
        if (TakeLetGoEarly(s)) return true;
        if (pacer.KeyDown() && keyDown == s) {
            if (!pacer.MayRelease()) return false;
            pacer.KeyWentUp();
        }
        Release(s); // (a key pressed before the queue knew it goes up at once)
        return true;
    }
    // A key pressed while another is still held (fast typists roll from key to key):
    // the ROM takes no key while another is down, so the held one goes up first.
    if (pacer.KeyDown()) {
        if (!pacer.MayRelease()) return false;
        Release(keyDown);
        pacer.KeyWentUp();
        letGoEarly.push_back(keyDown);
    }
    if (!pacer.MayPress()) return false;
    Press(s);
    pacer.KeyWentDown();
    keyDown = s;
    return true;
}

void ApplyWhatCan() {
    while (!waiting.empty() && ApplyHead())
        waiting.pop_front();
}

} // namespace

AceKeyStroke AceKeyStroke::Key(int virtualKey) {
    AceKeyStroke stroke;
    stroke.virtualKey = virtualKey;
    return stroke;
}

AceKeyStroke AceKeyStroke::Character(const KeyChord& keys) {
    AceKeyStroke stroke;
    stroke.chord = keys;
    return stroke;
}

bool AceKeyStroke::IsModifier() const {
    switch (virtualKey) {
    case vk::kShift:
    case vk::kControl:
    case vk::kLeftShift:
    case vk::kRightShift:
    case vk::kLeftControl:
    case vk::kRightControl: return true;
    default: return false;
    }
}

bool AceKeyStroke::operator==(const AceKeyStroke& other) const {
    return virtualKey == other.virtualKey &&
           std::memcmp(chord.rows, other.chord.rows, sizeof chord.rows) == 0;
}

void QueueKeyPress(const AceKeyStroke& stroke) {
    waiting.push_back({true, stroke});
    ApplyWhatCan();
}

void QueueKeyRelease(const AceKeyStroke& stroke) {
    waiting.push_back({false, stroke});
    ApplyWhatCan();
}

void KeyQueueFrameEnded() {
    pacer.FrameEnded();
    ApplyWhatCan();
}

void ClearKeyQueue() {
    waiting.clear();
    pacer.Reset();
    keyDown = AceKeyStroke();
    letGoEarly.clear();
}

int QueuedKeyEvents() {
    return int(waiting.size());
}
