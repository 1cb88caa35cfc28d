// The Ace's screen as text in a file, for scripts that drive the window from outside
// (the X input test types with xdotool and reads the answer here).
//
// When the environment variable NOLTACE_SCREEN_TEXT_FILE names a file, the main loop
// rewrites it with the 24 screen lines (display/screen_text.h) whenever the screen's
// text has changed, at most four times a second. The file is replaced whole (written
// beside it, then renamed), so a reader never sees half a screen.
#pragma once

#include <string>

class ScreenTextFile {
  public:
    ScreenTextFile(); // reads the environment variable
    // Called every main-loop pass with the host time in seconds.
    void Update(double now);

  private:
    std::string path_;
    std::string written_;
    double lastCheck_ = -1.0;
};
