#include "machine/ace_bus.h"
#include "machine/run_state.h"
#include "machine/z80.h"
#include "machine/z80_core.h"

#include "debugger/breakpoints.h"
#include "debugger/pc_log.h"
#include "display/renderer.h"
#include "sound/sound_output.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

namespace {

constexpr uint16_t kRomLoadHeaderPc = 0x191B; // where the ROM starts reading a tape block
constexpr uint16_t kRomSavePc = 0x1820;       // the ROM's SAVE routine

// While a TZX tape plays with fast loading, whole instructions run back to back with
// only the tape clock: the tape can load inside one frame.
void RunFastTapeLoop(MachineState& m, AceBus& bus) {
    while (tzxPlaying && opt_fastloadtzx) {
        Z80StepNoInterrupt(m, bus);
        m.instrTstates = m.tstates - m.instrStart;
        TapeTick(m.instrTstates);
        if (m.tstates > m.frameTstates) m.tstates = 0;
    }
}

} // namespace

void AcceptNmi() {
    AceBus bus;
    Z80AcceptNmi(machine, bus);
}

void ExecuteInstruction() {
    MachineState& m = machine;
    AceBus bus;
    Z80Step(m, bus);

    m.instrTstates = m.tstates - m.instrStart;
    m.tapeClock += m.instrTstates;
    RenderToBeam(m.tstates);
    if (NmiRequested) Z80AcceptNmi(m, bus);
    if (SoundOutputOn() && !FastMode) AdvanceSoundClocks(m.instrTstates);

    if (m.pc == kRomLoadHeaderPc) {
        if (tzxInserted) StartTzxPlayback();
        if (wavLoaded) StartWavPlayback();
    }
    if (m.pc == kRomSavePc && recordArmed) StartRecording();

    if (tzxPlaying) {
        RunFastTapeLoop(m, bus);
        if (tzxPlaying) TapeTick(m.instrTstates);
    }
    if ((wavPlaying || recording) && m.tapeClock > tstatesPerSample) {
        WavSampleTick(m.instrTstates);
        m.tapeClock -= tstatesPerSample;
    }
    if (debugHooksOn) checkBreakpoints();
    if (pcLogOn || pcLogOneFrame) PcLogStep();
}
