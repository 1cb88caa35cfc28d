#include "base/loaded_files.h"

#include <utility>

namespace {
LoadedFileListener& Listener() {
    static LoadedFileListener listener;
    return listener;
}
} // namespace

void SetLoadedFileListener(LoadedFileListener listener) {
    Listener() = std::move(listener);
}

void NoteLoadedFile(const LoadedFile& file) {
    if (Listener()) Listener()(file);
}
