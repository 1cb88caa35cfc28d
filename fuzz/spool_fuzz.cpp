// Spool texts: any bytes become the typed text, and typing them presses only keys of the
// matrix, for as many steps as the text has characters (and a few more).
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "tape/load_buffer.h"
#include "tape/spool.h"
#include "tape/spool_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    loadBuffer.assign(data, data + size);
    SpoolLoadBuffer();
    FreeLoadBuffer();
    for (size_t n = 0; n < size + 2 && n < 4096; ++n) {
        SpoolStep();
        SpoolFrameEnded(); // the paced typing after a frame, whatever the RAM says
    }
    for (size_t n = 0; n < size && n < 256; ++n)
        TypeHelperCharacter(data[n]);
    ClearSpool();
    return 0;
}
