// noltace-headless: runs the Ace on the emulation core alone, without display or sound.
#include <cstdio>

#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"

int main(int argc, char** argv) {
    if (argc > 1) romFolder = argv[1];
    if (LoadStandardRom()) return 1;
    ResetMachine();
    std::printf("PC=%04X\n", machine.pc);
    return 0;
}
