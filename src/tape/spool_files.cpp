#include "tape/spool_files.h"

#include <algorithm>
#include <limits>

#include "base/current_file.h"
#include "base/host.h"
#include "base/loaded_files.h"
#include "base/messages.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"
#include "tape/spool.h"

bool LooksLikeText(const uint8_t* bytes, size_t size) {
    size_t controls = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t b = bytes[i];
        if (b == 0) return false;
        // Tabs, line ends and form feeds belong in text; other control codes are rare.
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f') || b == 0x7F) ++controls;
    }
    return controls * 20 <= size; // at most one byte in twenty
}

LoadResult SpoolLoadBuffer() {
    if (!LooksLikeText(loadBuffer.data(), loadBuffer.size())) return ReportLoadFailure(kCaptionFile, kMsgNotText);
    // A spool counts its characters in an int; nobody types two gigabytes by hand.
    const size_t length = std::min<size_t>(loadBuffer.size(), size_t(std::numeric_limits<int>::max()));
    StartSpool(reinterpret_cast<const char*>(loadBuffer.data()), int(length));
    return LoadResult::Loaded;
}

LoadResult SpoolFile(const std::string& path) {
    if (!ReadFileBytes(path, loadBuffer)) return ReportLoadFailure(kCaptionOptions, kMsgFileNotFound);
    spoolFolder = path;
    const LoadResult result = SpoolLoadBuffer();
    FreeLoadBuffer();
    if (result == LoadResult::Loaded) NoteLoadedFile({path});
    return result;
}

void OpenSpoolFileDialog() {
    FileDialogRequest request;
    request.title = "Open SPOOL file";
    request.filters = {{"SPOOL files (*.txt, *.ja4, *.fs, *.f, *.fth, *.4th, *.forth)",
                        "*.txt;*.ja4;*.fs;*.f;*.fth;*.4th;*.forth"},
                       {" TXT files (*.txt)", "*.txt"},
                       {" JA4 files (*.ja4)", "*.ja4"},
                       {" FS files (*.fs)", "*.fs"},
                       {" FORTH files (*.f, *.fth, *.4th, *.forth)", "*.f;*.fth;*.4th;*.forth"},
                       {" All files(*.*)", "*.*"}};
    request.initialFolder = FolderOf(spoolFolder);
    const std::string chosen = host().ChooseOpenFile(request);
    if (!chosen.empty()) SpoolFile(chosen);
}

bool DevSpool() {
    if (currentFile.currentBareName.empty()) return false;
    const std::string path = FolderOf(spoolFolder) + currentFile.currentBareName + ".txt";
    if (!ReadFileBytes(path, loadBuffer)) return false;
    const LoadResult result = SpoolLoadBuffer();
    FreeLoadBuffer();
    return result == LoadResult::Loaded;
}
