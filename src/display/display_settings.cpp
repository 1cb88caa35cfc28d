#include "display/display_settings.h"

int opt_colours = 0;
