#include "sound/sound_output.h"

// No sound device yet: sound is off and the frame driver paces the machine.
bool soundOutputActive = false;
void AdvanceSoundClocks(uint32_t) {}
void PauseSound(bool) {}
