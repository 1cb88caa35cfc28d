#include "machine/z80_tables.h"

uint8_t sz53[256];
uint8_t parity[256];
uint8_t sz53p[256];

namespace {
// Built before main() so that a bare core (the conformance runner, a test) never sees
// empty tables; ResetMachine builds them again.
struct BuildAtStart {
    BuildAtStart() { BuildFlagTables(); }
} buildAtStart;
} // namespace

void BuildFlagTables() {
    for (int i = 0; i < 256; ++i) {
        sz53[i] = uint8_t(i & 0xA8);
        int bits = 0;
        for (int b = 0; b < 8; ++b) bits += (i >> b) & 1;
        parity[i] = (bits & 1) ? 0 : 0x04;
        sz53p[i] = sz53[i] | parity[i];
    }
    sz53[0] |= 0x40;
    sz53p[0] |= 0x40;
}
