// What the emulation core needs from the platform it runs on.
//
// The Qt application, noltace-headless and the tests each install their own Host with
// SetHost(). The core calls it for everything that shows, asks or waits: the message box,
// presenting a frame, file dialogs, yes/no questions, the modal debugger, the clock.
// Without an installed host, messages go to stderr, dialogs are cancelled and the clock
// is the real one.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct FileDialogRequest {
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters; // ("TAP files (*.tap)", "*.tap")
    std::string initialFolder;
    std::string initialName;
    std::string defaultExtension; // without the dot
};

class Host {
  public:
    virtual ~Host() = default;

    // Modal message box; returns when the user has closed it.
    virtual void ShowMessage(const std::string& caption, const std::string& text);
    // Modal Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& caption, const std::string& text);
    // The same for a question where Yes costs something: a warning, No the default.
    virtual bool AskYesNoWarning(const std::string& caption, const std::string& text) {
        return AskYesNo(caption, text);
    }
    // Shows the current frame image (display/renderer.h).
    virtual void PresentFrame() {}
    // False when PresentFrame shows nothing (noltace-headless, benchmarks): the renderer
    // then leaves the frames undrawn until somebody reads the image.
    virtual bool ShowsFrames() const { return true; }
    // File dialogs: the chosen path, or "" when cancelled.
    virtual std::string ChooseOpenFile(const FileDialogRequest&) { return {}; }
    virtual std::string ChooseSaveFile(const FileDialogRequest&) { return {}; }
    // Runs the debugger modally (from inside the instruction step when a breakpoint hits).
    virtual void RunDebugger() {}
    // The PC log switched itself off (debugger/pc_log.h): the menu item to untick,
    // kPcLoggingMenuItem or kPcLogOneFrameMenuItem.
    virtual void PcLogStopped(int /*menuItem*/) {}

    // Monotonic host time in seconds, and a sleep of at least `ms` milliseconds
    // (0 only yields).
    virtual double NowSeconds();
    virtual void SleepMs(int ms);
    // A high-resolution sleep until NowSeconds() reaches `dueSeconds` (returns at once
    // when it already has). The operating system may wake the thread a little late.
    virtual void SleepUntil(double dueSeconds);
};

Host& host();
// Installs a host (nullptr restores the default one). The host must outlive its use.
void SetHost(Host* newHost);
