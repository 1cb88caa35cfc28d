// Screenshots as files: the 32-bit bottom-up Windows bitmap that the File menu's
// "Save Screenshot" and `noltace-headless --screenshot` both write, and the naming rule
// for the chosen file.
//
//   std::vector<uint8_t> bytes = EncodeBmp32(384, 312, frameImage);   // 479,286 bytes
//   std::string error;
//   if (!WriteWholeFile(ScreenshotFileName("shot"), bytes, error)) ...   // base/file_writer.h
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A 14-byte file header, a 40-byte info header (width, positive height, 1 plane,
// 32 bits, no compression, the remaining fields 0) and the pixels as blue, green, red, 0,
// the picture's bottom row first. `pixels` are 0x00RRGGBB, `width` a row, top row first.
std::vector<uint8_t> EncodeBmp32(int width, int height, const uint32_t* pixels);

// True when the name ends in ".png" or ".PNG" (file kinds compare the lower-case and
// upper-case endings only).
bool HasPngEnding(const std::string& path);
bool HasBmpEnding(const std::string& path);

// Writes a screenshot of `pixels` (0x00RRGGBB, top row first) to `path`: a PNG when
// HasPngEnding(path) (display/png_file.h), else the BMP above. False, with a one-line
// reason naming the path, when it cannot.
bool WriteScreenshotImage(const std::string& path, int width, int height, const uint32_t* pixels,
                          std::string& error);

// The file a chosen screenshot name is written to: a name with an extension of its own
// stays as it is, one without gets `extension` appended (".bmp" unless the user asked
// for PNG).
std::string ScreenshotFileName(const std::string& chosen, const std::string& extension = ".bmp");
