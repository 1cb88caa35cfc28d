#include "app/qt/screen_text_file.h"

#include <cstdio>
#include <cstdlib>

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
    const std::string partial = path_ + ".part";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) return;
    const bool complete = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) == 0 && complete && std::rename(partial.c_str(), path_.c_str()) == 0)
        written_ = text;
}
