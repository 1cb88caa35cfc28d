// Sound output: samples the speaker line (and the AY chip) in T-states and streams
// one chunk of samples per frame to the audio device.
#pragma once

#include <cstdint>

// True while sound output is on: the instruction step then advances the sound clocks
// and the audio device, not the frame driver, paces the emulation.
extern bool soundOutputActive;
inline bool SoundOutputOn() { return soundOutputActive; }

// Called after every instruction (sound on, Fast off) with the instruction's T-states.
void AdvanceSoundClocks(uint32_t tstates);

// Stops (stop = true) or restarts the stream; nothing happens when there is no stream.
void PauseSound(bool stop);
