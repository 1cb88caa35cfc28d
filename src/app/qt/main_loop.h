// The application's one loop: handle the window events that are waiting, run one
// emulated frame (RunFrame paces itself to 50 frames a second), refresh the status bar
// once a second. There is no other thread and nothing drives the emulation but this
// loop, so a modal dialog opened from anywhere, even from inside an instruction, simply
// stops emulated time until it closes. While the machine is held (paused, focus-paused,
// a menu open) the loop waits in the event queue instead of turning over.
#pragma once

#include <memory>

#include "app/qt/run_state_file.h"
#include "app/qt/screen_text_file.h"
#include "machine/rewind_buffer.h"

class DisplayPresenter;
class QTimer;
class QWidget;
class StatusBarPanel;

class MainLoop {
  public:
    MainLoop();
    ~MainLoop();
    void SetStatusBar(StatusBarPanel* status) { status_ = status; }
    // The window whose title says when the machine is paused (null: none).
    void SetTitleWindow(QWidget* window) { titleWindow_ = window; }
    // The display whose shown pictures the run-state file counts (nullptr for none).
    void SetPresenter(const DisplayPresenter* presenter) { presenter_ = presenter; }

    // Passes until RequestQuit; returns its exit code.
    int Run();
    // One pass: events, a frame, the status bar.
    void RunOnePass();
    // Passes for `seconds` of host time, or until quit is requested (tests and tools).
    void RunFor(double seconds);

    // Frames this loop has run since it began (frameCounter starts again each second).
    uint64_t framesRun() const { return framesRun_; }

    // The last minute of emulated time, kept as the frames run.
    RewindBuffer& rewind() { return rewind_; }

    void RequestQuit(int exitCode);
    bool quitRequested() const { return quit_; }

  private:
    // Handles events, blocking until one comes or `maxMs` have passed.
    void WaitForEvents(int maxMs);

    std::unique_ptr<QTimer> wakeUp_; // bounds the wait
    StatusBarPanel* status_ = nullptr;
    QWidget* titleWindow_ = nullptr;
    const DisplayPresenter* presenter_ = nullptr;
    ScreenTextFile screenText_;
    RunStateFile runState_;
    RewindBuffer rewind_;
    uint64_t framesRun_ = 0;
    bool quit_ = false;
    int exitCode_ = 0;
};
