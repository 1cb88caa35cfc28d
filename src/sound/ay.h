// The AY-3-8910 sound chip of the add-on sound interfaces, as the port decoder reaches it.
#pragma once

#include <cstdint>

void SelectRegister(uint8_t v); // register-select port
void WriteRegister(uint8_t v);  // data port, write
uint8_t ReadRegister();         // data port, read
