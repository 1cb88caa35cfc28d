// The breakpoint list file: any bytes read into at most 256 valid entries, and what is
// read writes back as a list that reads the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "debugger/breakpoint_list_file.h"
#include "debugger/breakpoints.h"
#include "fuzz_support.h"
#include "machine/machine_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    machine.ramTop = 0xFFFF;
    ParseBreakpointList(std::string(reinterpret_cast<const char*>(data), size));
    if (breakpointState.breakpointCount > kMaxBreakpoints) std::abort();
    const std::string written = FormatBreakpointList();
    if (ParseBreakpointList(written) != 0 || FormatBreakpointList() != written) std::abort();
    return 0;
}
