#include "debugger/debugger_settings.h"

uint32_t opt_dis_rom = 0;
uint32_t opt_dis_sv = 0;
