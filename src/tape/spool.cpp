#include "tape/spool.h"

bool spoolActive = false;
int spoolLeft = 0;
int spoolPos = 0;
int typingCounter = 0;
uint8_t opt_spool_speed = 8;

void StartSpool(const char*, int) {}
void SpoolStep() {}
void ClearSpool() { spoolLeft = spoolPos = 0; }
void TypeHelperCharacter(uint8_t) {}
