#include "machine/ports.h"

#include "machine/machine_state.h"

uint8_t PortIn(uint16_t) { return machine.idleBus; }
void PortOut(uint16_t, uint8_t) {}
