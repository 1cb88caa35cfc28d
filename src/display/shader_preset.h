// The shader back-end's preset: the chain of passes that draws the 384 x 312 frame, and
// the tunable parameters that the shader texts declare.
//
// A pass reads the previous pass's picture (pass 0 reads the frame) and renders at a size
// its scale rule gives; the last pass always renders to the viewport. Parameters are
// lines of the form
//   #pragma parameter IDENTIFIER "Description" initial minimum maximum step
// in a pass's source; each becomes a uniform float of that name holding its value.
//
//   ShaderPreset preset = BuildShaderPreset(opt_shader);
//   PixelSize size = PassOutputSize(preset, 0, {384, 312}, viewport);
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "display/presentation.h"

constexpr int kMaxShaderPasses = 25;
constexpr int kMaxShaderParameters = 128;
constexpr size_t kMaxParameterText = 63; // identifier and description, each

enum ShaderFilter : int { kFilterNearest = 0, kFilterLinear = 1, kFilterDefault = 2 };
enum ShaderScaleType : int { kScaleViewport = 2, kScaleInput = 3 };

struct ShaderPass {
    std::string_view source;
    int filter = kFilterDefault; // the default is nearest: smoothing is never switched on
    int scaleTypeX = kScaleInput, scaleTypeY = kScaleInput;
    float scaleX = 1.0f, scaleY = 1.0f;
    // The pass's picture, drawn larger, is its own picture scaled up nearest-neighbour:
    // it depends on the texel it reads, not on where or how large it draws. A pass-through
    // that only scales such a pass up can then be left out (the pipeline does).
    bool scalesAsNearest = false;
};

struct ShaderParameter {
    std::string identifier, description;
    float value = 0, initial = 0, minimum = 0, maximum = 0, step = 0;
};

struct ShaderPreset {
    std::vector<ShaderPass> passes;
    std::vector<ShaderParameter> parameters;
};

// "No Shader", "Dotmask", "Scanlines", "Curved CRT", "Aperture".
const char* ShaderName(int index); // "" outside 0 to 4
// The GLSL text of a built-in shader (index 0 to 4) and of the plain pass-through pass.
std::string_view BuiltInShaderSource(int index);
std::string_view PassThroughShaderSource();

// The preset for a built-in shader: "No Shader" is two pass-through passes, "Dotmask"
// the dot mask then a pass-through pass, the other three one pass each. An index
// outside 0 to 4 gives "No Shader".
ShaderPreset BuildShaderPreset(int shaderIndex);

// Appends the parameters that `source` declares (at most kMaxShaderParameters in all);
// a malformed declaration is skipped. The value starts at the initial value.
void ParseShaderParameters(std::string_view source, std::vector<ShaderParameter>& parameters);

// The size pass `index` renders at, from the size of its input and the viewport.
PixelSize PassOutputSize(const ShaderPreset& preset, int index, PixelSize input, PixelSize viewport);
// The smallest power of two not below `n` (textures keep the preset's power-of-two sizes,
// which the shaders see as texture_size).
int NextPowerOfTwo(int n);
