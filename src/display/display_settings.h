// Display settings that the configuration file and the options dialog name but that no
// back-end reads by itself: the colour scheme index (the renderer keeps only the two
// colours it makes) and the shader chosen for the shader back-end.
#pragma once

#include <cstdint>

extern int opt_colours;    // colour scheme 0-4 ("Default Colours" ... "Amber Screen")
extern uint8_t opt_shader; // 0 "No Shader", 1 "Dotmask", 2 "Scanlines", 3 "Curved CRT", 4 "Aperture"

constexpr int kShaderCount = 5;
extern const char* const kShaderNames[kShaderCount];
