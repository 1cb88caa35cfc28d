// The Ace's I/O ports: every IN and OUT of the Z80 ends in PortIn or PortOut.
//
// The Ace decodes ports loosely, on single address lines:
//
//   in,  A0 = 0 (any even port)  keyboard: A8..A15 low each select one half-row of
//                                keyMatrix (bits 0-4, active low, ANDed together); bit 5
//                                is the tape/speaker line; bits 6 and 7 read 0
//   out, low byte 0xFE           speaker and tape line: every write toggles it, whatever
//                                the value; bit 3 is latched for the tape recorder (MIC)
//   in,  low byte 0x01           joystick (the "Boldfield Interface")
//   AY-3-8910 on an add-on sound interface (machine.soundInterface):
//     1 Boldfield   out 0xFD register select, out 0xFF data write, in 0xFF data read
//     2 Ace User    out 0xDD register select, out 0xDF data write, in 0xDD data read
//     3 Fuller Box  out 0x3F register select (low 4 bits), out 0x5F data write
//     4 Quicksilva  no port decoded
//
// Anything else reads machine.idleBus (0x20) and ignores writes. Port accesses cost no
// T-states beyond the instruction's own. Every write to a decoded port is kept in
// machine.portLatches for the debugger.
#pragma once

#include <cstdint>

enum SoundInterface : uint8_t {
    kSoundNone = 0,
    kSoundBoldfield = 1,
    kSoundAceUser = 2,
    kSoundFullerBox = 3,
    kSoundQuicksilva = 4,
};

uint8_t PortIn(uint16_t port);
void PortOut(uint16_t port, uint8_t value);
