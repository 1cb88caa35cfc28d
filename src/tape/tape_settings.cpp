#include "tape/tape_settings.h"

std::string opt_startaddr = "20000";
