// ".ace" snapshots: load from the load buffer, and check that coding any decoded image
// and decoding it again gives the same memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "machine/machine_state.h"
#include "tape/ace_snapshot.h"
#include "tape/load_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    loadBuffer.assign(data, data + size);
    LoadAceSnapshot();
    FreeLoadBuffer();

    static uint8_t image[0x10000], again[0x10000];
    std::memset(image, 0, sizeof image);
    DecodeAceSnapshot({data, size}, image);
    const std::vector<uint8_t> coded = EncodeAceSnapshot(image);
    std::memset(again, 0, sizeof again);
    const SnapshotDecodeResult result = DecodeAceSnapshot(coded, again);
    if (result.overflow || result.end != kSnapshotSaveEnd ||
        std::memcmp(image + kSnapshotStart, again + kSnapshotStart, kSnapshotSaveEnd - kSnapshotStart) != 0)
        std::abort();
    return 0;
}
