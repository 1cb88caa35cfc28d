#include "tape/wav_deck.h"

uint32_t tstatesPerSample = 0;

bool LoadWavFromBuffer(const std::string&) {
    return false;
}
void PrepareRecording(const std::string&) {}
void StartWavPlayback() {}
void StartRecording() {}
void WavSampleTick(uint32_t) {}
uint8_t WavCurrentSample() {
    return 128;
}
