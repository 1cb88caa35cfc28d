#include "display/shader_preset.h"

#include <cmath>

#include "base/float_chars.h"
#include "display/builtin_shaders.h"

namespace {

const char* const kShaderNames[kShaderCount] = {"No Shader", "Dotmask", "Scanlines", "Curved CRT",
                                                "Aperture"};

bool ReadFloat(std::string_view& text, float& value) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    const auto [end, error] = FloatFromChars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return false;
    text.remove_prefix(size_t(end - text.data()));
    return true;
}

// One "#pragma parameter" line (without the prefix); false when it is malformed.
bool ParseDeclaration(std::string_view text, ShaderParameter& parameter) {
    const size_t blank = text.find(' ');
    if (blank == 0 || blank == std::string_view::npos) return false;
    parameter.identifier = std::string(text.substr(0, std::min(blank, kMaxParameterText)));
    text.remove_prefix(blank);
    const size_t open = text.find('"');
    const size_t close = open == std::string_view::npos ? open : text.find('"', open + 1);
    if (close == std::string_view::npos ||
        text.substr(0, open).find_first_not_of(' ') != std::string_view::npos)
        return false;
    parameter.description = std::string(text.substr(open + 1, std::min(close - open - 1, kMaxParameterText)));
    text.remove_prefix(close + 1);
    if (!ReadFloat(text, parameter.initial) || !ReadFloat(text, parameter.minimum) ||
        !ReadFloat(text, parameter.maximum) || !ReadFloat(text, parameter.step))
        return false;
    parameter.value = parameter.initial;
    return true;
}

int ScaledSize(int type, float scale, int input, int viewport) {
    const double size = (type == kScaleViewport ? viewport : input) * double(scale);
    return std::max(1, int(std::lround(size)));
}

} // namespace

const char* ShaderName(int index) {
    return index >= 0 && index < kShaderCount ? kShaderNames[index] : "";
}

std::string_view BuiltInShaderSource(int index) {
    switch (index) {
    case 1: return kDotmaskShader;
    case 2: return kScanlinesShader;
    case 3: return kCurvedCrtShader;
    case 4: return kApertureShader;
    default: return kNoShaderShader;
    }
}

std::string_view PassThroughShaderSource() {
    return kNoShaderShader;
}

ShaderPreset BuildShaderPreset(int shaderIndex) {
    if (shaderIndex < 0 || shaderIndex >= kShaderCount) shaderIndex = 0;
    ShaderPreset preset;
    ShaderPass first;
    first.source = BuiltInShaderSource(shaderIndex);
    if (shaderIndex != 0) first.filter = kFilterNearest;
    first.scalesAsNearest = shaderIndex == 0 || shaderIndex == 1;
    preset.passes.push_back(first);

    // The two cheap shaders draw at the frame's own size and leave the scaling to a
    // plain pass, nearest-sampled, so the picture stays sharp.
    if ((shaderIndex == 0 || shaderIndex == 1) && preset.passes.back().filter != kFilterLinear) {
        ShaderPass scaler;
        scaler.source = PassThroughShaderSource();
        preset.passes.push_back(scaler);
    }
    const ShaderPass& last = preset.passes.back();
    if (last.scaleTypeX != kScaleInput || last.scaleTypeY != kScaleInput) {
        ShaderPass toViewport;
        toViewport.source = PassThroughShaderSource();
        toViewport.scaleTypeX = toViewport.scaleTypeY = kScaleViewport;
        preset.passes.push_back(toViewport);
    }
    for (const ShaderPass& pass : preset.passes)
        ParseShaderParameters(pass.source, preset.parameters);
    return preset;
}

void ParseShaderParameters(std::string_view source, std::vector<ShaderParameter>& parameters) {
    constexpr std::string_view kPrefix = "#pragma parameter ";
    while (!source.empty()) {
        const size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, kPrefix.size()) != kPrefix) continue;
        if (parameters.size() >= size_t(kMaxShaderParameters)) return;
        ShaderParameter parameter;
        if (ParseDeclaration(line.substr(kPrefix.size()), parameter)) parameters.push_back(parameter);
    }
}

PixelSize PassOutputSize(const ShaderPreset& preset, int index, PixelSize input, PixelSize viewport) {
    if (index + 1 >= int(preset.passes.size())) return viewport;
    const ShaderPass& pass = preset.passes[size_t(index)];
    return {ScaledSize(pass.scaleTypeX, pass.scaleX, input.width, viewport.width),
            ScaledSize(pass.scaleTypeY, pass.scaleY, input.height, viewport.height)};
}

int NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
}
