#include "debugger/breakpoints.h"

bool debugHooksOn = false;

void checkBreakpoints() {}
