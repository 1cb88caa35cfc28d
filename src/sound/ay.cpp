#include "sound/ay.h"

// No chip model yet: writes are ignored, reads give an empty register.
void SelectRegister(uint8_t) {}
void WriteRegister(uint8_t) {}
uint8_t ReadRegister() { return 0; }
