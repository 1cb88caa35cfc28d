#include "debugger/breakpoints.h"


void checkBreakpoints() {}
