#include "app/qt/screen_text_file.h"

#include <cstdio>
#include <cstdlib>

#include "base/file_writer.h"
#include "display/screen_text.h"

namespace {
constexpr double kCheckInterval = 0.25; // seconds
} // namespace

ScreenTextFile::ScreenTextFile() {
    if (const char* path = std::getenv("NOLTACE_SCREEN_TEXT_FILE")) path_ = path;
}

void ScreenTextFile::Update(double now) {
    if (path_.empty() || (lastCheck_ >= 0 && now - lastCheck_ < kCheckInterval)) return;
    lastCheck_ = now;
    const std::string text = ScreenText();
    if (text == written_) return;
    std::string error; // a test's window on the screen; nobody to tell
    if (WriteWholeFile(path_, text, error)) written_ = text;
}
