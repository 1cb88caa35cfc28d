#include "tape/load_file.h"

#include <filesystem>

#include "base/current_file.h"
#include "base/loaded_files.h"
#include "tape/dropped_file.h"
#include "base/host.h"
#include "base/messages.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "tape/ace_snapshot.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"
#include "tape/spool_files.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"
#include "tape/tzx_format.h"
#include "tape/wav_deck.h"

namespace {

// Loaded when the machine now holds the file (perhaps with a reported defect).
LoadResult LoadFromBuffer(const std::string& path, FileKind kind, LoadRoute route) {
    const std::string bare = BareName(path);
    switch (kind) {
    case FileKind::Snapshot: return LoadAceSnapshot();
    case FileKind::Tap: return LoadTapFromBuffer(bare); // complete blocks always load
    case FileKind::Wav: return LoadWavFromBuffer(bare);
    case FileKind::Tzx: {
        const LoadResult result = LoadTzxFromBuffer(bare);
        if (result == LoadResult::Loaded) tzxInserted = true;
        return result;
    }
    case FileKind::Spool: return SpoolLoadBuffer();
    case FileKind::Rom: {
        if (route != LoadRoute::LoadFileDialog) return LoadResult::Failed;
        FreeLoadBuffer();
        std::error_code error;
        const std::string absolute = std::filesystem::absolute(path, error).string();
        if (LoadCustomRom(error ? path : absolute) != LoadResult::Loaded) return LoadResult::Failed;
        ResetMachine();
        return LoadResult::Loaded;
    }
    case FileKind::None:
    case FileKind::Binary: break;
    }
    return LoadResult::Failed;
}

} // namespace

LoadResult LoadFileByName(const std::string& path, LoadRoute route) {
    if (path.empty()) return LoadResult::Failed;
    if (ReadWholeFile(path) != LoadResult::Loaded) return LoadResult::Failed;
    const FileKind kind = route == LoadRoute::Dropped ? DroppedFileKind(path) : FileKindByEnding(path);
    if (kind == FileKind::None) {
        FreeLoadBuffer();
        if (route == LoadRoute::CommandLine) return LoadResult::Failed;
        return ReportLoadFailure(kCaptionError, kMsgTapeUnknownExtension);
    }
    currentFile.currentFilePath = path;
    currentFile.currentFileName = path;
    currentFile.currentBareName = BareName(path);
    const bool loaded = LoadFromBuffer(path, kind, route) == LoadResult::Loaded;
    FreeLoadBuffer();
    if (loaded && (kind == FileKind::Tap || kind == FileKind::Tzx)) tapeDeck.tapeFileName = FileNameOf(path);
    // A ROM resets the machine, which forgets the current file; the others become it.
    if (loaded && kind != FileKind::Rom) {
        currentFileKind = kind;
        NoteLoadedFile({path});
    }
    return LoadedIf(loaded);
}

LoadResult LoadFileDialog(LoadFilter filter) {
    FileDialogRequest request;
    request.title = "Open File";
    request.initialFolder = FolderOf(snapshotFolder);
    switch (filter) {
    case LoadFilter::AllFormats:
        request.filters = {
            {"All supported file formats (*.ace, *.tap ,*.wav,*.tzx)", "*.ace;*.tap;*.wav;*.tzx"},
            {"ACE files (*.ace)", "*.ace"},
            {"TAP files (*.tap)", "*.tap"},
            {"WAV files (*.wav)", "*.wav"},
            {"TZX files (*.tzx)", "*.tzx"}};
        break;
    case LoadFilter::WavOnly: request.filters = {{"WAV file format (*.wav)", "*.wav"}}; break;
    case LoadFilter::RomOnly: request.filters = {{"ROM file format (*.rom)", "*.rom"}}; break;
    }
    const std::string chosen = host().ChooseOpenFile(request);
    if (chosen.empty()) return LoadResult::Failed;
    return LoadFileByName(chosen, LoadRoute::LoadFileDialog);
}
