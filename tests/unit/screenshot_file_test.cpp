// The screenshot file and the shader preset's text rules: the BMP layout byte by byte,
// the naming rule, PNG or BMP by that rule, and "#pragma parameter" lines good and bad.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "display/bmp_file.h"
#include "display/shader_preset.h"
#include "test_support.h"

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(ScreenshotFileTest, BmpIsThirtyTwoBitsBottomUp) {
    // 3 x 2: top row red, green, blue; bottom row white, black, grey (with a stray top byte).
    const uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xAB808080};
    const std::vector<uint8_t> b = EncodeBmp32(3, 2, pixels);
    ASSERT_EQ(b.size(), 54u + 3 * 2 * 4);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const std::pair<size_t, uint32_t> fields[] = {
        {2, 78}, {6, 0},  {10, 54}, {14, 40}, {18, 3}, {22, 2}, {26, 1 | 32u << 16},
        {30, 0}, {34, 0}, {38, 0},  {42, 0},  {46, 0}, {50, 0}};
    for (const auto& [offset, value] : fields)
        EXPECT_EQ(Le32(b, offset), value) << "offset " << offset;
    // Stored rows: the bottom one first, each pixel blue, green, red, 0.
    const uint32_t stored[] = {0xFFFFFF, 0x000000, 0x808080, 0xFF0000, 0x00FF00, 0x0000FF};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(Le32(b, 54 + i * 4), stored[i]) << i;
    EXPECT_EQ(b[54], 0xFF) << "blue first";
    EXPECT_EQ(EncodeBmp32(384, 312, std::vector<uint32_t>(384 * 312).data()).size(), 479286u);
}

TEST(ScreenshotFileTest, AnEndingIsAddedOnlyWhenTheNameHasNone) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"shot", ".bmp", "shot"},
        {"shot.bmp", ".bmp", ""},
        {"SHOT.BMP", ".bmp", ""},
        {"shot.png", ".bmp", ""},
        {"shot.PNG", ".bmp", ""},
        {"shot.txt", ".bmp", ""}, // the typed extension stays
        {"shot", ".png", "shot"},
        {"dir.bmp/shot", ".bmp", "dir.bmp/shot"},
        {"/tmp/.hidden", ".bmp", "/tmp/.hidden"},
    };
    for (const auto& [chosen, extension, stem] : cases) {
        const std::string expected = *stem ? std::string(stem) + extension : chosen;
        EXPECT_EQ(ScreenshotFileName(chosen, extension), expected) << chosen;
    }
    EXPECT_TRUE(HasPngEnding("a.png"));
    EXPECT_FALSE(HasPngEnding(".png")) << "a name, not just an ending";
    EXPECT_FALSE(HasPngEnding("a.Png")) << "lower-case and upper-case forms only";
}

// The desktop program and the headless runner write through the one function, so they
// agree on which names are PNG: the lower-case and upper-case endings only.
TEST(ScreenshotFileTest, PngOrBmpByTheOneNamingRule) {
    const uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};
    const struct {
        const char* name;
        bool png;
    } cases[] = {{"a.png", true}, {"a.PNG", true}, {"a.Png", false}, {"a.bmp", false}, {"a", false}};
    const std::string folder = ScratchFolder();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + c.name;
        std::string error;
        ASSERT_TRUE(WriteScreenshotImage(path, 3, 2, pixels, error)) << error;
        const std::string bytes = ReadAll(path);
        if (!c.png) {
            EXPECT_EQ(bytes.substr(0, 2), "BM");
            continue;
        }
        // libpng reads back the very pixels.
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
        EXPECT_EQ(image.width, 3u);
        EXPECT_EQ(image.height, 2u);
        image.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
        for (size_t i = 0; i < 6; ++i)
            EXPECT_EQ(uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2], pixels[i]) << i;
    }
}

TEST(ShaderPresetTest, ParameterLinesGoodAndBad) {
    const char* text = "#pragma parameter X \"Some value\" 0.3 0.0 1.0 0.01\n"
                       "#pragma parameter  \"no identifier\" 1 2 3 4\n"
                       "#pragma parameter Y \"missing numbers\" 1 2\n"
                       "#pragma parameter Z \"unterminated 1 2 3 4\n"
                       "#pragma parameter W \"bad\" 1 two 3 4\n"
                       "#pragma parameter NAN_ \"not finite\" nan 0 1 1\n"
                       "  #pragma parameter INDENTED \"not a declaration\" 1 2 3 4\n"
                       "#pragma parameter CR \"windows line\" -1.5 -2 2 0.5\r\n"
                       "#pragma parameter";
    std::vector<ShaderParameter> parameters;
    ParseShaderParameters(text, parameters);
    ASSERT_EQ(parameters.size(), 2u);
    EXPECT_EQ(parameters[0].identifier, "X");
    EXPECT_EQ(parameters[0].description, "Some value");
    EXPECT_FLOAT_EQ(parameters[0].value, 0.3f);
    EXPECT_FLOAT_EQ(parameters[0].minimum, 0.0f);
    EXPECT_FLOAT_EQ(parameters[0].maximum, 1.0f);
    EXPECT_FLOAT_EQ(parameters[0].step, 0.01f);
    EXPECT_EQ(parameters[1].identifier, "CR");
    EXPECT_FLOAT_EQ(parameters[1].initial, -1.5f);

    // Long texts are cut, and the table stops at 128.
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "#pragma parameter P" + std::to_string(i) + std::string(100, 'x') + " \"" +
                std::string(100, 'd') + "\" 1 0 2 1\n";
    parameters.clear();
    ParseShaderParameters(many, parameters);
    ASSERT_EQ(parameters.size(), size_t(kMaxShaderParameters));
    EXPECT_EQ(parameters[0].identifier.size(), kMaxParameterText);
    EXPECT_EQ(parameters[0].description.size(), kMaxParameterText);
}

TEST(ShaderPresetTest, PassSizesFollowTheirScaleRules) {
    ShaderPreset preset = BuildShaderPreset(0);
    preset.passes[0].scaleX = 2.0f;
    preset.passes[0].scaleTypeY = kScaleViewport;
    preset.passes[0].scaleY = 0.5f;
    EXPECT_EQ(PassOutputSize(preset, 0, {384, 312}, {1000, 800}), (PixelSize{768, 400}));
    EXPECT_EQ(PassOutputSize(preset, 1, {768, 400}, {1000, 800}), (PixelSize{1000, 800}))
        << "the last: viewport";
    EXPECT_EQ(NextPowerOfTwo(384), 512);
    EXPECT_EQ(NextPowerOfTwo(512), 512);
    EXPECT_EQ(NextPowerOfTwo(1), 1);
    EXPECT_EQ(BuildShaderPreset(99).passes.size(), 2u) << "an unknown shader is No Shader";
    EXPECT_STREQ(ShaderName(3), "Curved CRT");
    EXPECT_STREQ(ShaderName(5), "");
}

} // namespace
