#include "machine/ports.h"

#include "machine/joystick.h"
#include "machine/machine_state.h"
#include "sound/ay.h"
#include "sound/sound_output.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

namespace {

constexpr uint8_t kTapeBit = 0x20; // bit 5 of a keyboard read: the EAR line

// Even ports: each half-row whose address line (A8 + n) is low pulls its pressed keys
// low on the data bus, so several selected rows read as the AND of all of them.
uint8_t ReadKeyboardAndTape(uint16_t port) {
    MachineState& m = machine;
    uint8_t v = 0x3F;
    const uint8_t rows = uint8_t(port >> 8);
    for (int n = 0; n < 8; ++n)
        if (!(rows & (1 << n))) v &= m.keyMatrix[n];

    if (tzxPlaying && tapeDeck.tapeLevel == 1) v ^= kTapeBit;
    if (!wavPlaying) {
        if (tzxPlaying && m.earLevel) v ^= kTapeBit;
        // A read resets the speaker flip-flop that a write sets: BEEP's IN/OUT pair
        // is one full period. While a tape plays, the tape drives the line instead.
        if (!tzxPlaying) {
            m.speakerToggle = 0;
            SetSpeakerLine(0, m.instrStart);
        }
        return v;
    }
    // A WAV recording drives the shared line itself, unless a TZX tape is playing too.
    if (!tzxPlaying) SetSpeakerLine(WavCurrentSample() > 128 ? 1 : 0, m.instrStart);
    if (m.earLevel) v ^= kTapeBit;
    return v;
}

// The AY data port is readable on two of the interfaces only; elsewhere the port floats.
uint8_t ReadAyDataIf(uint8_t wanted, PortLatch latch) {
    const uint8_t v = machine.soundInterface == wanted ? ReadRegister() : machine.idleBus;
    machine.portLatches[latch] = v;
    return v;
}

// The chip runs up to the instruction that writes to it with the old values.
void WriteAy(uint8_t value) {
    CatchUpSound(machine.instrStart);
    WriteRegister(value);
}

} // namespace

uint8_t PortIn(uint16_t port) {
    if (!(port & 0x0001)) return ReadKeyboardAndTape(port);
    switch (port & 0xFF) {
    case 0x01: return machine.portLatches[kLatch01] = ReadJoystickPort();
    case 0xFF: return ReadAyDataIf(kSoundBoldfield, kLatchFF);
    case 0xDD: return ReadAyDataIf(kSoundAceUser, kLatchDD);
    default: return machine.idleBus;
    }
}

void PortOut(uint16_t port, uint8_t value) {
    MachineState& m = machine;
    const uint8_t fitted = m.soundInterface;
    switch (port & 0xFF) {
    case 0xFE:
        // The speaker flip-flop changes state on every write; the data only feeds MIC.
        m.portLatches[kLatchFE] = value;
        m.speakerToggle = 1 - m.speakerToggle;
        SetSpeakerLine(uint16_t(m.speakerToggle), m.instrStart);
        m.micBit = value & 0x08;
        break;
    case 0xFD:
        m.portLatches[kLatchFD] = value;
        if (fitted == kSoundBoldfield) SelectRegister(value);
        break;
    case 0xFF:
        m.portLatches[kLatchFF] = value;
        if (fitted == kSoundBoldfield) WriteAy(value);
        break;
    case 0xDD:
        m.portLatches[kLatchDD] = value;
        if (fitted == kSoundAceUser) SelectRegister(value);
        break;
    case 0xDF:
        m.portLatches[kLatchDF] = value;
        if (fitted == kSoundAceUser) WriteAy(value);
        break;
    case 0x3F:
        m.portLatches[kLatch3F] = value;
        if (fitted == kSoundFullerBox) SelectRegister(value & 0x0F);
        break;
    case 0x5F:
        m.portLatches[kLatch5F] = value;
        if (fitted == kSoundFullerBox) WriteAy(value);
        break;
    default: break;
    }
}
