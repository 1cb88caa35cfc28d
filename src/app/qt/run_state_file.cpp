#include "app/qt/run_state_file.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "base/file_writer.h"
#include "machine/run_state.h"

namespace {
constexpr double kWriteInterval = 1.0; // seconds
} // namespace

RunStateFile::RunStateFile() {
    if (const char* path = std::getenv("NOLTACE_RUN_STATE_FILE")) path_ = path;
}

void RunStateFile::Update(double now, uint64_t frames, int shown) {
    if (path_.empty() || (lastWrite_ >= 0 && now - lastWrite_ < kWriteInterval)) return;
    lastWrite_ = now;
    const bool held = runState.Paused || runState.FocusPaused;
    const bool modal = QApplication::activeModalWidget() != nullptr;
    char line[160];
    std::snprintf(line, sizeof line, "time=%.3f frames=%llu shown=%d held=%d modal=%d\n", now,
                  static_cast<unsigned long long>(frames), shown, held ? 1 : 0, modal ? 1 : 0);
    std::string error; // read by tests only; nobody to tell
    WriteWholeFile(path_, line, error);
}
