// The emulator's running state in a file, for scripts that measure the application from
// outside (bench/app_cpu_share.sh): they can tell a machine that runs from one that
// waits behind a message box or stands paused.
//
// When the environment variable NOLTACE_RUN_STATE_FILE names a file, the main loop
// rewrites it about once a second with one line
//
//   time=12.503 frames=612 shown=3 held=0 modal=0
//
// host time in seconds, frames run and pictures handed to the display since start,
// held 1 while the machine is paused or focus-paused, modal 1 while a modal dialog is
// open. A modal dialog opened from inside a frame stops the loop, and with it the file:
// its time then stands still. The file is replaced whole (written beside it, then
// renamed), so a reader never sees half a line.
#pragma once

#include <cstdint>
#include <string>

class RunStateFile {
  public:
    RunStateFile(); // reads the environment variable
    // Called every main-loop pass with the host time in seconds and the counts so far.
    void Update(double now, uint64_t frames, int shown);

  private:
    std::string path_;
    double lastWrite_ = -1.0;
};
