// Display settings that the configuration file and the options dialog name but that no
// back-end reads by itself: the colour scheme index (the renderer keeps only the two
// colours it makes).
#pragma once

#include <cstdint>

extern int opt_colours;    // colour scheme 0-4 ("Default Colours" ... "Amber Screen")
