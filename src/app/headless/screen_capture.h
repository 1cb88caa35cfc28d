// What noltace-headless shows of the Ace: its screen as text and the frame image as a
// PNG or BMP file.
#pragma once

#include <string>

// The 24 lines of the Ace's screen from video RAM (0x2400): bit 7 (inverse video) of
// each code cleared, codes 32-126 as ASCII, others '.', trailing spaces removed.
std::string ScreenLine(int row);
std::string ScreenText(); // the 24 lines, each ended by '\n'

// Writes frameImage (384 x 312). PNG when the name ends in ".png" (any case), else a
// 32-bit BMP. False, with a one-line reason, when the file cannot be written.
bool WriteScreenshot(const std::string& path, std::string& error);
bool WritePng(const std::string& path, std::string& error);
bool WriteBmp(const std::string& path, std::string& error);
