// The Ace's I/O ports: every IN and OUT of the Z80 ends here.
//
//   any even port (A0 = 0)  in: keyboard half-rows selected by A8-A15, bit 5 the tape line
//   0xFE                   out: speaker / tape line toggle, bit 3 to the MIC latch
//   0x01                    in: joystick ("Boldfield Interface")
//   0xFD/0xFF, 0xDD/0xDF, 0x3F/0x5F: AY select/data of the Boldfield, Ace User and
//   Fuller Box sound interfaces
#pragma once

#include <cstdint>

uint8_t PortIn(uint16_t port);
void PortOut(uint16_t port, uint8_t value);
