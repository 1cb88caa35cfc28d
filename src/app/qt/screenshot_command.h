// File menu, "Save Screenshot": saves the picture exactly as the window presents it
// (with the shader, at the window's scale or over the whole screen, in device pixels)
// as a 32-bit bottom-up BMP, or as a PNG when the name ends in ".png".
#pragma once

#include <QImage>
#include <QString>

#include <string>

class DisplayPresenter;
class QWidget;

// The name chosen last time; the dialog opens with it.
extern QString screenshotFileName;

// Captures, asks for a name (a new one, or an existing one after asking to replace it)
// and writes. A file that cannot be written is reported (code 14 and the path) and
// left as it was.
void SaveScreenshotCommand(QWidget* window, DisplayPresenter& presenter);

// The rest of the command once a name is chosen: the ending, the question before
// replacing a file the dialog did not ask about, the write and its report.
bool SaveScreenshotAs(const QImage& picture, const std::string& chosen, bool pngChosen);

// The picture the presenter shows now, as 0xFFRRGGBB pixels; null when there is none.
QImage CapturePresentedPicture(DisplayPresenter& presenter);

// Writes `picture` to `path` (PNG for a ".png" ending, else BMP); false with a reason.
bool WriteScreenshotFile(const QImage& picture, const std::string& path, std::string& error);
