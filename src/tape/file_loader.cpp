#include "tape/file_loader.h"

#include <filesystem>

#include "app/host.h"
#include "app/messages.h"
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

struct LoadOutcome {
    bool loaded;   // the machine now holds the file (perhaps with a reported defect)
    bool reported; // a message was shown
};

LoadOutcome LoadFromBuffer(const std::string& path, FileKind kind, LoadOrigin origin) {
    const std::string bare = BareName(path);
    switch (kind) {
    case FileKind::Snapshot: {
        const bool refused = LoadAceSnapshot();
        return {!refused, refused};
    }
    case FileKind::Tap: return {true, LoadTapFromBuffer(bare)}; // complete blocks always load
    case FileKind::Wav: {
        const bool failed = LoadWavFromBuffer(bare);
        return {!failed, failed};
    }
    case FileKind::Tzx: {
        const bool failed = LoadTzxFromBuffer(bare);
        if (!failed) tzxInserted = true;
        return {!failed, failed};
    }
    case FileKind::Spool: SpoolLoadBuffer(); return {true, false};
    case FileKind::Rom: {
        if (origin != LoadOrigin::FileCommand) return {false, false};
        FreeLoadBuffer();
        std::error_code error;
        const std::string absolute = std::filesystem::absolute(path, error).string();
        if (LoadCustomRom(error ? path : absolute)) return {false, true};
        ResetMachine();
        return {true, false};
    }
    case FileKind::None:
    case FileKind::Binary: break;
    }
    return {false, false};
}

} // namespace

bool LoadFileByName(const std::string& path, LoadOrigin origin) {
    if (path.empty()) return false;
    if (ReadWholeFile(path)) return true;
    const FileKind kind = FileKindForName(path);
    if (kind == FileKind::None) {
        FreeLoadBuffer();
        return ReportMessage(kCaptionError, 22);
    }
    SetCurrentFile(path);
    const LoadOutcome outcome = LoadFromBuffer(path, kind, origin);
    FreeLoadBuffer();
    // A ROM resets the machine, which forgets the current file; the others become it.
    if (outcome.loaded && kind != FileKind::Rom) currentFileKind = kind;
    return outcome.reported;
}

bool LoadFileDialog(LoadFilter filter) {
    FileDialogRequest request;
    request.title = "Open File";
    request.initialFolder = FolderOf(snapshotFolder);
    switch (filter) {
    case LoadFilter::AllFormats:
        request.filters = {{"All supported file formats (*.ace, *.tap ,*.wav,*.tzx)", "*.ace;*.tap;*.wav;*.tzx"},
                           {"ACE files (*.ace)", "*.ace"},
                           {"TAP files (*.tap)", "*.tap"},
                           {"WAV files (*.wav)", "*.wav"},
                           {"TZX files (*.tzx)", "*.tzx"}};
        break;
    case LoadFilter::WavOnly: request.filters = {{"WAV file format (*.wav)", "*.wav"}}; break;
    case LoadFilter::RomOnly: request.filters = {{"ROM file format (*.rom)", "*.rom"}}; break;
    }
    const std::string chosen = host().ChooseOpenFile(request);
    if (chosen.empty()) return false;
    return LoadFileByName(chosen, LoadOrigin::FileCommand);
}
