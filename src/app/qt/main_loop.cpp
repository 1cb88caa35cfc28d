#include "app/qt/main_loop.h"

#include <QApplication>
#include <QEvent>

#include "app/key_queue.h"
#include "app/qt/status_bar_panel.h"
#include "base/host.h"
#include "machine/frame.h"

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
    // An open menu holds the machine still, as a menu loop of its own would.
    if (QApplication::activePopupWidget()) {
        host().SleepMs(1);
    } else {
        const uint64_t framesBefore = frameCounter;
        RunFrame();
        // Key events wait for frames that the ROM has read the keyboard in.
        if (frameCounter != framesBefore) KeyQueueFrameEnded();
    }
    const double now = host().NowSeconds();
    if (status_) status_->Update(now);
    screenText_.Update(now);
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
