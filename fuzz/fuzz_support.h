// Shared set-up of the fuzz targets: a quiet host and a 51K machine with an empty ROM
// image, so every loader can write anywhere it is allowed to.
#pragma once

void PrepareFuzzMachine();
