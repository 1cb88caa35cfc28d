#include "app/key_queue.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "app/keyboard.h"
#include "app/virtual_keys.h"
#include "machine/rom_keyboard.h"
#include "machine/saved_state.h"

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

namespace {

constexpr uint32_t kMostQueuedEvents = 4096; // far more than any typist or paste leaves waiting
constexpr size_t kStrokeBytes = 4 + sizeof(KeyChord::rows);

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k)
        out.push_back(uint8_t(v >> (8 * k)));
}

void PutStroke(std::vector<uint8_t>& out, const AceKeyStroke& s) {
    PutU32(out, uint32_t(s.virtualKey));
    out.insert(out.end(), std::begin(s.chord.rows), std::end(s.chord.rows));
}

// Reads from a byte span, refusing anything the queue could not have written.
struct QueueReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;
    bool Take(size_t n) { return n <= bytes.size() - at && ((at += n), true); }
    bool U32(uint32_t& v) {
        if (!Take(4)) return false;
        v = uint32_t(bytes[at - 4]) | uint32_t(bytes[at - 3]) << 8 | uint32_t(bytes[at - 2]) << 16 |
            uint32_t(bytes[at - 1]) << 24;
        return true;
    }
    bool Stroke(AceKeyStroke& s) {
        uint32_t key = 0;
        if (!U32(key) || !Take(sizeof s.chord.rows)) return false;
        s.virtualKey = int(int32_t(key));
        std::memcpy(s.chord.rows, &bytes[at - sizeof s.chord.rows], sizeof s.chord.rows);
        return s.virtualKey >= -1 && s.virtualKey <= 0xFF;
    }
};

std::vector<uint8_t> CaptureKeyQueue() {
    std::vector<uint8_t> out;
    PutU32(out, uint32_t(waiting.size()));
    for (const QueuedEvent& event : waiting) {
        out.push_back(event.press);
        PutStroke(out, event.stroke);
    }
    PutStroke(out, keyDown);
    PutU32(out, uint32_t(letGoEarly.size()));
    for (const AceKeyStroke& stroke : letGoEarly)
        PutStroke(out, stroke);
    const size_t at = out.size();
    out.resize(at + RomKeyPacer::kStateBytes);
    pacer.WriteState(out.data() + at);
    return out;
}

// The queue held in `bytes`, into the given parts; false when they cannot be one.
bool DecodeKeyQueue(const std::vector<uint8_t>& bytes, std::deque<QueuedEvent>& events, AceKeyStroke& down,
                    std::vector<AceKeyStroke>& early, RomKeyPacer& pace) {
    QueueReader r{bytes};
    uint32_t count = 0;
    if (!r.U32(count) || count > kMostQueuedEvents) return false;
    for (uint32_t k = 0; k < count; ++k) {
        QueuedEvent event{};
        if (!r.Take(1) || bytes[r.at - 1] > 1 || !r.Stroke(event.stroke)) return false;
        event.press = bytes[r.at - kStrokeBytes - 1] != 0;
        events.push_back(event);
    }
    if (!r.Stroke(down) || !r.U32(count) || count > kMostQueuedEvents) return false;
    early.resize(count);
    for (AceKeyStroke& stroke : early)
        if (!r.Stroke(stroke)) return false;
    return r.Take(RomKeyPacer::kStateBytes) && r.at == bytes.size() &&
           pace.ReadState(&bytes[r.at - RomKeyPacer::kStateBytes]);
}

bool CheckKeyQueue(const std::vector<uint8_t>& bytes) {
    std::deque<QueuedEvent> events;
    AceKeyStroke down;
    std::vector<AceKeyStroke> early;
    RomKeyPacer pace;
    return DecodeKeyQueue(bytes, events, down, early, pace);
}

void RestoreKeyQueue(const std::vector<uint8_t>& bytes) {
    ClearKeyQueue();
    if (!bytes.empty()) DecodeKeyQueue(bytes, waiting, keyDown, letGoEarly, pacer);
}

} // namespace

void KeepKeyQueueInStates() {
    SetFrontEndStateSection({CaptureKeyQueue, CheckKeyQueue, RestoreKeyQueue});
}
