#include "debugger/forth_stepping.h"

#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/forth_word_break.h"
#include "machine/machine_state.h"

WordStepResult RunWordStep(WordStep kind, uint32_t bound) {
    WordStepResult result;
    const uint16_t startSp = machine.sp;
    breakpointState.breakpointHit = false;
    while (result.instructions < bound) {
        SingleStep();
        ++result.instructions;
        if (machine.pc == kForthDispatch) {
            const bool deepEnough = kind == WordStep::Into || (kind == WordStep::Over && machine.sp >= startSp) ||
                                    (kind == WordStep::Out && machine.sp > startSp);
            if (deepEnough) {
                result.reached = true;
                break;
            }
        }
        if (breakpointState.breakpointHit) {
            breakpointState.breakpointHit = false;
            result.breakpoint = true;
            break;
        }
    }
    return result;
}

const char* WordStepName(WordStep kind) {
    switch (kind) {
    case WordStep::Over: return "Step Word";
    case WordStep::Into: return "Step Into Word";
    case WordStep::Out: return "Step Out Of Word";
    }
    return "";
}
