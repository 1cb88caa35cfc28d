// Screenshots as PNG: the frame image encoded by libpng, for the File menu's "Save
// Screenshot" and `noltace-headless --screenshot` alike.
//
//   std::vector<uint8_t> bytes;
//   if (EncodePng24(384, 312, frameImage, bytes)) WriteWholeFile("shot.png", bytes, error);
#pragma once

#include <cstdint>
#include <vector>

// An 8-bit RGB PNG of `pixels` (0x00RRGGBB, `width` a row, top row first), unfiltered
// rows under libpng's default compression. False when libpng fails.
bool EncodePng24(int width, int height, const uint32_t* pixels, std::vector<uint8_t>& png);
