#include "display/display_settings.h"

int opt_colours = 0;
uint8_t opt_shader = 0;

const char* const kShaderNames[kShaderCount] = {"No Shader", "Dotmask", "Scanlines", "Curved CRT",
                                                "Aperture"};

