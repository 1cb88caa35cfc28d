// The application's one loop: handle the window events that are waiting, run one
// emulated frame (RunFrame paces itself to 50 frames a second), refresh the status bar
// once a second. There is no other thread and no timer, so a modal dialog opened from
// anywhere, even from inside an instruction, simply stops emulated time until it closes.
#pragma once

#include "app/qt/screen_text_file.h"

class StatusBarPanel;

class MainLoop {
  public:
    void SetStatusBar(StatusBarPanel* status) { status_ = status; }

    // Passes until RequestQuit; returns its exit code.
    int Run();
    // One pass: events, a frame, the status bar.
    void RunOnePass();
    // Passes for `seconds` of host time, or until quit is requested (tests and tools).
    void RunFor(double seconds);

    void RequestQuit(int exitCode);
    bool quitRequested() const { return quit_; }

  private:
    StatusBarPanel* status_ = nullptr;
    ScreenTextFile screenText_;
    bool quit_ = false;
    int exitCode_ = 0;
};
