#include "file_loaders.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "runner.h"
#include "tape/file_kinds.h"
#include "tape/load_file.h"

namespace {

// Tapes, snapshots, spool texts and ROMs load through the same entry as the Load File
// command. A spool it starts (a spool text, or the load command that --autoload types
// for a tape) is then typed to its end, as for --type.
LoadResult LoadLikeLoadFile(const std::string& path, HeadlessRunner& runner, std::string&) {
    const LoadResult result = LoadFileByName(path, LoadRoute::LoadFileDialog); // reports why not
    if (result == LoadResult::Loaded) runner.FinishTyping();
    return result;
}

LoadResult NeedsAddress(const std::string&, HeadlessRunner&, std::string& error) {
    error = "a binary file needs an address: use --load-binary FILE ADDRESS";
    return LoadResult::Failed;
}

// Loaders by kind; the endings that choose a kind are the emulator's own file-kind table.
const FileKindLoader kLoaders[] = {
    {FileKind::Tap, "TAP tape", LoadLikeLoadFile},
    {FileKind::Tzx, "TZX tape", LoadLikeLoadFile},
    {FileKind::Wav, "WAV tape", LoadLikeLoadFile},
    {FileKind::Snapshot, "ACE snapshot", LoadLikeLoadFile},
    {FileKind::Spool, "spool text", LoadLikeLoadFile},
    {FileKind::Rom, "ROM image", LoadLikeLoadFile},
    {FileKind::Binary, "binary file", NeedsAddress},
};

// Binary files have no ending of their own in the Load File table; here ".bin" names
// them, so that --load can say how to load one.
FileKind KindOf(const std::string& path) {
    const std::string_view name(path);
    if (name.ends_with(".bin") || name.ends_with(".BIN")) return FileKind::Binary;
    return FileKindByEnding(name);
}

std::string KnownEndings() {
    std::string list;
    for (const FileKindEnding& entry : FileKindTable())
        if (entry.ending[1] >= 'a') list += std::string(entry.ending) + " "; // the lower-case forms
    return list + ".bin";
}

} // namespace

const FileKindLoader* FindFileKind(const std::string& path) {
    const FileKind kind = KindOf(path);
    for (const FileKindLoader& loader : kLoaders)
        if (loader.kind == kind) return &loader;
    return nullptr;
}

LoadResult LoadFileByKind(const std::string& path, HeadlessRunner& runner, std::string& error) {
    const FileKindLoader* kind = FindFileKind(path);
    if (!kind) {
        error = "cannot load '" + path + "': unknown kind of file (known endings: " + KnownEndings() + ")";
        return LoadResult::Failed;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "cannot load '" + path +
                "': " + (std::filesystem::exists(path, ec) ? "not a file" : std::strerror(ENOENT));
        return LoadResult::Failed;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        error = "cannot load '" + path + "': " + std::strerror(errno);
        return LoadResult::Failed;
    }
    if (!kind->load) {
        error = "cannot load '" + path + "': " + kind->name + " files are not supported yet";
        return LoadResult::Failed;
    }
    return kind->load(path, runner, error);
}
