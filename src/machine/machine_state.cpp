#include "machine/machine_state.h"

#include "machine/memory_map.h"

MachineState machine;
alignas(64) uint8_t ramBlock[0x10000];

const ModelInfo& ModelTable(uint32_t model) {
    static const ModelInfo models[4] = {
        {"Jupiter Ace 3K", 1, 0x3FFF},
        {"Jupiter Ace 19K", 3, 0x7FFF},
        {"Jupiter Ace 35K", 5, 0xBFFF},
        {"Jupiter Ace 51K", 7, 0xFFFF},
    };
    return models[model < 4 ? model : 3];
}

void ApplyModelLimits(uint32_t model) {
    const ModelInfo& info = ModelTable(model);
    machine.topPage = info.topPage;
    machine.ramTop = info.ramTop;
    BuildMemoryMap();
}
