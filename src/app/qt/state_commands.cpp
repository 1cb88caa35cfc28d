#include "app/qt/state_commands.h"

#include <string>

#include <QDir>
#include <QStandardPaths>

#include "app/qt/input_routing.h"
#include "app/qt/main_loop.h"
#include "base/host.h"
#include "display/renderer.h"
#include "machine/saved_state.h"
#include "tape/spool.h"

namespace state_commands {

namespace {

// After a rewind the PC's keys come up and what was still queued is dropped (the frames
// replayed the keyboard as it was); the machine's own typing keeps its key down.
void AfterRewind() {
    ReleaseEveryKey();
    if (spool.spoolActive) PressKeys(spool.spoolKeys);
    PresentFrame();
}

} // namespace

QString SlotFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/noltace/states/";
}

QString SlotPath(int slot) {
    return SlotFolder() + QString("slot%1%2").arg(slot).arg(kStateFileExtension);
}

void QuickSave(int slot) {
    std::string error;
    if (!QDir().mkpath(SlotFolder()) || !SaveStateFile(SlotPath(slot).toStdString(), error))
        host().ShowMessage("Quick Save", "Slot " + std::to_string(slot) + " could not be saved: " +
                                             (error.empty() ? "cannot make " + SlotFolder().toStdString() : error));
}

void QuickLoad(int slot) {
    if (!QFile::exists(SlotPath(slot))) {
        host().ShowMessage("Quick Load", "Slot " + std::to_string(slot) + " is empty.");
        return;
    }
    std::string error;
    if (LoadStateFile(SlotPath(slot).toStdString(), error) != LoadResult::Loaded) {
        host().ShowMessage("Quick Load", error);
        return;
    }
    // The file put back the key matrix and the key queue as they were saved.
    ForgetPcKeys();
    PresentFrame();
}

void Rewind(MainLoop& loop) {
    RewindBuffer& buffer = loop.rewind();
    const long back = buffer.FramesKept() < RewindBuffer::kFramesPerState ? buffer.FramesKept()
                                                                          : RewindBuffer::kFramesPerState;
    std::string error;
    if (back == 0) return; // at the start of what is kept: nothing further back
    if (!buffer.Rewind(back, error)) {
        host().ShowMessage("Rewind", error);
        return;
    }
    AfterRewind();
}

} // namespace state_commands
