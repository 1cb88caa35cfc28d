#include "display/bmp_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/file_writer.h"
#include "base/little_endian.h"
#include "display/png_file.h"

namespace {

bool EndsWith(const std::string& path, const char* ending) {
    const size_t n = std::strlen(ending);
    return path.size() > n && path.compare(path.size() - n, n, ending) == 0;
}

} // namespace

std::vector<uint8_t> EncodeBmp32(int width, int height, const uint32_t* pixels) {
    constexpr uint32_t kHeaderBytes = 14 + 40;
    // A 32-bit row is always a whole number of 4-byte words: no padding.
    const uint32_t rowBytes = ((uint32_t(width) * 32 + 31) / 32) * 4;
    const uint32_t pixelBytes = rowBytes * uint32_t(height);
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    AppendLe32(out, kHeaderBytes + pixelBytes); // file size
    AppendLe32(out, 0);                         // reserved
    AppendLe32(out, kHeaderBytes);              // offset of the pixels
    AppendLe32(out, 40);                        // info header size
    AppendLe32(out, uint32_t(width));
    AppendLe32(out, uint32_t(height)); // positive: rows stored bottom-up
    AppendLe16(out, 1);                // planes
    AppendLe16(out, 32);               // bits per pixel
    AppendLe32(out, 0);                // uncompressed
    for (int i = 0; i < 5; ++i)        // image size, resolutions, colour counts
        AppendLe32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x)
            AppendLe32(out, row[x] & 0x00FFFFFF);
    }
    return out;
}

bool HasPngEnding(const std::string& path) {
    return EndsWith(path, ".png") || EndsWith(path, ".PNG");
}

bool HasBmpEnding(const std::string& path) {
    return EndsWith(path, ".bmp") || EndsWith(path, ".BMP");
}

std::string ScreenshotFileName(const std::string& chosen, const std::string& extension) {
    // The file name's own extension, as typed, stays; a dot in a folder name is none.
    const auto nameStart = chosen.find_last_of("/\\");
    const auto dot = chosen.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && dot > (nameStart == std::string::npos ? 0 : nameStart + 1);
    if (chosen.empty() || hasExtension) return chosen;
    return chosen + extension;
}

bool WriteScreenshotImage(const std::string& path, int width, int height, const uint32_t* pixels,
                          std::string& error) {
    if (!HasPngEnding(path)) return WriteWholeFile(path, EncodeBmp32(width, height, pixels), error);
    std::vector<uint8_t> png;
    if (EncodePng24(width, height, pixels, png)) return WriteWholeFile(path, png, error);
    error = "cannot write '" + path + "': PNG encoding failed";
    return false;
}
