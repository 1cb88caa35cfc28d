// What noltace-headless shows of the Ace: its screen as text and the frame image as a
// PNG or BMP file.
#pragma once

#include <string>

#include "display/screen_text.h"

// Writes frameImage (384 x 312) as the File menu's "Save Screenshot" does: PNG or BMP by
// the name's ending (display/bmp_file.h). False, with a one-line reason, when the file
// cannot be written.
bool WriteScreenshot(const std::string& path, std::string& error);
