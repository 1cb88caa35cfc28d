// RAM images for the FORTH decompiler and export: whatever the dictionary holds (links
// that loop or leave RAM, bodies without an end, zero length fields), every word lists or
// says why it cannot, and the export ends, reading nothing outside memory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "debugger/forth_decompiler.h"
#include "debugger/forth_export.h"
#include "debugger/forth_stack.h"
#include "debugger/forth_views.h"
#include "fuzz_support.h"
#include "machine/machine_state.h"
#include "machine/rom.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    if (size == 0) return 0;
    static uint8_t emptyRom[0x2000];
    machine.rom = emptyRom; // ROM words have no names to find here
    // The first byte picks the model, so RAM ends at each of the four tops.
    const uint32_t model = data[0] & 3;
    machine.model = model;
    machine.topPage = ModelTable(model).topPage;
    machine.ramTop = ModelTable(model).ramTop;
    std::memset(machine.ram + 0x3C00, 0, 0x10000 - 0x3C00);
    const size_t count = std::min<size_t>(size - 1, machine.ramTop + 1 - 0x3C00);
    std::memcpy(machine.ram + 0x3C00, data + 1, count);
    // The FORTH vocabulary word's name, so that the walk starts at the newest-word
    // pointer the input holds (at 3C4C) rather than almost never.
    std::memcpy(machine.ram + 0x3C40, "FORT\xC8", 5);
    for (const ForthWord& word : buildWordList())
        (void)DecompileWord(word, ForthBase());
    ForthExportCounts counts;
    (void)ExportForthSource(counts);
    (void)FormatForthDataStack(ReadForthDataStack(), 16);
    for (const ReturnStackEntry& entry : ReadForthReturnStack())
        (void)FormatReturnStackEntry(entry);
    return 0;
}
