// WAV files: the validating reader through the Load File path (which reads the signal
// for its first header both ways up), every sample level the waveform would draw in
// both polarities, and playback ticks past the end.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "machine/machine_state.h"
#include "tape/load_buffer.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    loadBuffer.assign(data, data + size);
    if (LoadWavFromBuffer("fuzz") == LoadResult::Loaded) {
        for (uint64_t n = 0; n < 4096; ++n)
            WavSampleLevel(n);
        wavDeck.wavVolume = -50;
        wavDeck.wavBias = 90;
        WavSampleLevel(0);
        wavDeck.wavInvert = !wavDeck.wavInvert;
        WavSampleLevel(0);
        StartWavPlayback();
        for (int n = 0; n < 20000 && wavPlaying; ++n) {
            machine.tapeClock += wavDeck.tstatesPerSample + 20;
            WavSampleTick(20);
            machine.tapeClock -= wavDeck.tstatesPerSample;
        }
    }
    FreeLoadBuffer();
    return 0;
}
