#include "app/key_queue.h"

#include <cstring>
#include <deque>

#include "app/keyboard.h"
#include "app/virtual_keys.h"

namespace {

struct QueuedEvent {
    bool press;
    AceKeyStroke stroke;
};

std::deque<QueuedEvent> waiting;

// Frames counted since start-up, and when the last key (not Shift or Ctrl) went down
// and came up. Far in the past at first, so the first key applies at once.
constexpr long long kLongAgo = -1000;
long long framesRun = 0;
long long lastKeyDown = kLongAgo;
long long lastKeyUp = kLongAgo;

bool CanApply(const QueuedEvent& event) {
    const bool lastKeySeen = framesRun - lastKeyDown >= kKeyHoldFrames;
    if (!event.press) return lastKeySeen;
    if (event.stroke.IsModifier()) return true;
    return lastKeySeen && framesRun - lastKeyUp >= kKeyGapFrames;
}

void Apply(const QueuedEvent& event) {
    const AceKeyStroke& s = event.stroke;
    if (event.press) {
        if (s.virtualKey >= 0)
            KeyDown(s.virtualKey);
        else
            CharacterKeyDown(s.chord);
    } else {
        if (s.virtualKey >= 0)
            KeyUp(s.virtualKey);
        else
            CharacterKeyUp(s.chord);
    }
    if (s.IsModifier()) return;
    (event.press ? lastKeyDown : lastKeyUp) = framesRun;
}

void ApplyWhatCan() {
    while (!waiting.empty() && CanApply(waiting.front())) {
        Apply(waiting.front());
        waiting.pop_front();
    }
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
    ++framesRun;
    ApplyWhatCan();
}

void ClearKeyQueue() {
    waiting.clear();
    framesRun = 0;
    lastKeyDown = lastKeyUp = kLongAgo;
}

int QueuedKeyEvents() {
    return int(waiting.size());
}
