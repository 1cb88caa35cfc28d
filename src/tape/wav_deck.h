// WAV tapes: playing a recording into the tape line and recording the ROM's SAVE.
//
// Not built yet: loading a WAV tape and preparing a recording are stubs that do nothing,
// and playback and recording never start.
#pragma once

#include <cstdint>
#include <string>

#include "machine/hook_switches.h"

inline bool& wavLoaded = rareHookSwitches.wavLoaded;
inline bool& recordArmed = rareHookSwitches.recordArmed;
inline bool& wavPlaying = rareHookSwitches.wavPlaying;
inline bool& recording = rareHookSwitches.recording;
extern uint32_t tstatesPerSample;

// File kind 3 of Load File: the load buffer as a WAV tape. Returns true when it reported.
bool LoadWavFromBuffer(const std::string& bareName);
// The record button and the WAV choice of Save Snapshot. When built, it must take the
// save trap out with RemoveSaveTrap() (tape_deck.h), which restores the ROM file's own
// bytes, never bytes written out by hand.
void PrepareRecording(const std::string& path);

void StartWavPlayback();
void StartRecording();
void WavSampleTick(uint32_t tstates);
uint8_t WavCurrentSample(); // unsigned 8-bit, 128 is silence
