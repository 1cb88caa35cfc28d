#include "screen_capture.h"

#include <png.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "display/bmp_file.h"
#include "display/renderer.h"
#include "machine/machine_state.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForWriting(const std::string& path, std::string& error) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) error = "cannot write '" + path + "': " + std::strerror(errno);
    return file;
}

bool Finish(File& file, const std::string& path, std::string& error) {
    const bool ok = !std::ferror(file.get()) && std::fclose(file.release()) == 0;
    if (!ok) error = "cannot write '" + path + "': " + std::strerror(errno);
    return ok;
}

bool EndsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    for (char& c : ending)
        c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return ending == ".png";
}

} // namespace

bool WriteBmp(const std::string& path, std::string& error) {
    return WriteWholeFile(path, EncodeBmp32(kFrameWidth, kFrameHeight, renderer.frameImage), error);
}

bool WritePng(const std::string& path, std::string& error) {
    File file = OpenForWriting(path, error);
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "cannot write '" + path + "': out of memory";
        return false;
    }
    std::vector<uint8_t> rows(size_t(kFrameWidth) * kFrameHeight * 3);
    for (size_t i = 0; i < size_t(kFrameWidth) * kFrameHeight; ++i) {
        rows[i * 3] = uint8_t(renderer.frameImage[i] >> 16);
        rows[i * 3 + 1] = uint8_t(renderer.frameImage[i] >> 8);
        rows[i * 3 + 2] = uint8_t(renderer.frameImage[i]);
    }
    std::vector<png_bytep> rowPointers(kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y)
        rowPointers[size_t(y)] = rows.data() + size_t(y) * kFrameWidth * 3;

    if (setjmp(png_jmpbuf(png))) { // libpng reports its errors by jumping back here
        png_destroy_write_struct(&png, &info);
        error = "cannot write '" + path + "': PNG encoding failed";
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, kFrameWidth, kFrameHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rowPointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return Finish(file, path, error);
}

bool WriteScreenshot(const std::string& path, std::string& error) {
    CatchUpBeam(); // the frames run since the last look are drawn only now
    return EndsWithPng(path) ? WritePng(path, error) : WriteBmp(path, error);
}
