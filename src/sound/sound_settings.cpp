#include "sound/sound_settings.h"

uint32_t opt_snd_sound = 1;
uint32_t opt_snd_aysound = 1;
uint8_t opt_snd_volume = 40;
uint32_t opt_snd_freq = 44100;
uint8_t opt_snd_soundbits = 16;
uint8_t opt_snd_num_buffers = 8;
uint8_t opt_snd_output = kOutputAbcStereo;
uint8_t opt_echo = kEnhanceNone;
float opt_emulation_speed = 100.0f;

const char* const kSoundOutputModeNames[3] = {"Mono", "ABC Stereo", "ACB Stereo"};
const char* const kSoundEnhancementNames[3] = {"None", "Echo", "Reverb"};

void ResetSoundSettings() {
    opt_snd_sound = 1;
    opt_snd_aysound = 1;
    opt_snd_volume = 40;
    opt_snd_freq = 44100;
    opt_snd_soundbits = 16;
    opt_snd_num_buffers = 8;
    opt_snd_output = kOutputAbcStereo;
    opt_echo = kEnhanceNone;
    opt_emulation_speed = 100.0f;
}
