// The GLSL texts of the built-in shaders, one file each in display/shaders/, compiled
// into the program (display/shaders/embed_shaders.cmake writes the definitions).
#pragma once

extern const char kNoShaderShader[];
extern const char kDotmaskShader[];
extern const char kScanlinesShader[];
extern const char kCurvedCrtShader[];
extern const char kApertureShader[];
