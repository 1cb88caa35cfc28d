// The sound settings, as the configuration file ("[Sound]" section and
// opt_emulation_speed of "[Emulation]") and the options dialog's Sound page name them.
//
// These are the live values. The output format (rate, width, channels, mix, echo,
// volume, buffer size, speed) is latched when the stream is set up, so a change takes
// effect through ShutdownSound() and InitSound(). opt_snd_aysound is read on every AY
// tick and acts at once.
#pragma once

#include <cstdint>

// Output modes (opt_snd_output).
enum SoundOutputMode : uint8_t { kOutputMono = 0, kOutputAbcStereo = 1, kOutputAcbStereo = 2 };
// Enhancements (opt_echo).
enum SoundEnhancement : uint8_t { kEnhanceNone = 0, kEnhanceEcho = 1, kEnhanceReverb = 2 };

extern uint32_t opt_snd_sound;      // 0 or 1: sound on [1]
extern uint32_t opt_snd_aysound;    // 0 or 1: the AY chip sounds [1]
extern uint8_t opt_snd_volume;      // 0 to 100 in steps of 10 [40]
extern uint32_t opt_snd_freq;       // 11025, 22050 or 44100 Hz [44100]
extern uint8_t opt_snd_soundbits;   // 8 or 16 [16]
extern uint8_t opt_snd_num_buffers; // 1 to 50 frames of buffering [8]
extern uint8_t opt_snd_output;      // SoundOutputMode [kOutputAbcStereo]
extern uint8_t opt_echo;            // SoundEnhancement [kEnhanceNone]
extern float opt_emulation_speed;   // per cent of real time, 10 to 1000 [100.0]

// Back to the defaults above.
void ResetSoundSettings();

// The texts the options dialog offers for opt_snd_output and opt_echo.
extern const char* const kSoundOutputModeNames[3];  // "Mono", "ABC Stereo", "ACB Stereo"
extern const char* const kSoundEnhancementNames[3]; // "None", "Echo", "Reverb"
