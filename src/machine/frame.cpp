#include "machine/frame.h"

int frameSkipPeriod = 1;
int frameSkipCountdown = 1;
uint64_t frameCounter = 0;

void RunFrame() {}
void RestartFrameSkip() { frameSkipCountdown = frameSkipPeriod; }
