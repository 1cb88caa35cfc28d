// Shared set-up of the fuzz targets: a quiet host and a freshly reset emulator
// (ResetEmulator) as a 51K machine with an empty ROM image, so every loader can write
// anywhere it is allowed to and no input sees what the one before left behind.
#pragma once

void PrepareFuzzMachine();
