// WAV tapes: playing a recording into the tape line and recording the ROM's SAVE.
#pragma once

#include <cstdint>

extern bool wavLoaded;
extern bool recordArmed;
extern bool wavPlaying;
extern bool recording;
extern uint32_t tstatesPerSample;

void StartWavPlayback();
void StartRecording();
void WavSampleTick(uint32_t tstates);
uint8_t WavCurrentSample(); // unsigned 8-bit, 128 is silence
