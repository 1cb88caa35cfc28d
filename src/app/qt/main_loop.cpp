#include "app/qt/main_loop.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "app/key_queue.h"
#include "app/qt/status_bar_panel.h"
#include "app/qt/window_title.h"
#include "base/host.h"
#include "debugger/debugger_session.h"
#include "display/qt/display_presenter.h"
#include "machine/frame.h"
#include "machine/run_state.h"

namespace {
// While the machine stands still the loop sleeps in the event queue, waking at least
// this often so the status bar and timed passes (RunFor) still come round.
constexpr int kIdleWaitMs = 50;
} // namespace

MainLoop::MainLoop() {
    applicationRewindBuffer = &rewind_;
}

MainLoop::~MainLoop() {
    if (applicationRewindBuffer == &rewind_) applicationRewindBuffer = nullptr;
}

int MainLoop::Run() {
    while (!quit_)
        RunOnePass();
    return exitCode_;
}

void MainLoop::RunOnePass() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Objects closed with deleteLater go only when a loop level ends; this loop has none.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (quit_) return;
    // An open menu holds the machine still, as a menu loop of its own would; so do
    // Pause and the focus pause. Then nothing runs until the user does something.
    if (QApplication::activePopupWidget() || runState.Paused || runState.FocusPaused) {
        WaitForEvents(kIdleWaitMs);
    } else {
        const uint64_t framesBefore = frameDriver.frameCounter;
        const uint32_t sessionsBefore = debuggerSessions;
        rewind_.FrameStarting();
        RunFrame();
        // The debugger, opened by a breakpoint, ran the machine its own way.
        if (debuggerSessions != sessionsBefore || frameDriver.frameCounter != framesBefore + 1) rewind_.MachineChanged();
        // Key events wait for frames that the ROM has read the keyboard in.
        if (frameDriver.frameCounter != framesBefore) {
            KeyQueueFrameEnded();
            ++framesRun_;
        }
    }
    // Checked on every pass, not from inside a modal command's own pause, which no pass sees.
    if (titleWindow_) ShowPausedInTitle(*titleWindow_, runState.Paused || runState.FocusPaused);
    const double now = host().NowSeconds();
    if (status_) status_->Update(now);
    screenText_.Update(now);
    runState_.Update(now, framesRun_, presenter_ ? presenter_->shownFrames() : 0);
}

void MainLoop::WaitForEvents(int maxMs) {
    if (!wakeUp_) {
        wakeUp_ = std::make_unique<QTimer>();
        wakeUp_->setSingleShot(true);
    }
    wakeUp_->start(maxMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void MainLoop::RunFor(double seconds) {
    const double end = host().NowSeconds() + seconds;
    while (!quit_ && host().NowSeconds() < end)
        RunOnePass();
}

void MainLoop::RequestQuit(int exitCode) {
    quit_ = true;
    exitCode_ = exitCode;
}
