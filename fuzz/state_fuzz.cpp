// Machine state files: the file reader (header, packing, checksum) and, since a forged
// checksum is out of a fuzzer's reach, the section reader on the bytes as they come. A
// state that is taken must run a frame and capture to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "machine/frame.h"
#include "machine/run_state.h"
#include "machine/saved_state.h"

namespace {

void RestoreAndRun(const std::vector<uint8_t>& raw) {
    std::string error;
    if (!RestoreMachineState(raw, error)) return;
    const std::vector<uint8_t> captured = CaptureMachineState();
    if (!RestoreMachineState(captured, error) || CaptureMachineState() != captured) std::abort();
    runState.FastMode = true;
    RunFrame();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    std::vector<uint8_t> raw;
    std::string error;
    if (DecodeStateFile(data, size, raw, error)) RestoreAndRun(raw);
    RestoreAndRun(std::vector<uint8_t>(data, data + size));
    return 0;
}
