#include "tape/file_kinds.h"

#include "tape/file_paths.h"

FileKind currentFileKind = FileKind::None;
CurrentFile currentFile;

const FileKindEntry kFileKindTable[] = {
    {FileKind::Snapshot, ".ace"}, {FileKind::Snapshot, ".ACE"}, {FileKind::Tap, ".tap"},
    {FileKind::Tap, ".TAP"},      {FileKind::Wav, ".wav"},      {FileKind::Wav, ".WAV"},
    {FileKind::Tzx, ".tzx"},      {FileKind::Tzx, ".TZX"},      {FileKind::Spool, ".txt"},
    {FileKind::Spool, ".TXT"},    {FileKind::Spool, ".ja4"},    {FileKind::Spool, ".JA4"},
    {FileKind::Spool, ".fs"},     {FileKind::Spool, ".FS"},     {FileKind::Rom, ".rom"},
    {FileKind::Rom, ".ROM"},
};
const int kFileKindCount = int(sizeof kFileKindTable / sizeof kFileKindTable[0]);

FileKind FileKindForName(const std::string& name) {
    for (const FileKindEntry& entry : kFileKindTable) {
        const std::string ending = entry.ending;
        if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            return entry.kind;
    }
    return FileKind::None;
}

void SetCurrentFile(const std::string& path) {
    currentFile.fullPath = path;
    currentFile.displayName = path;
    currentFile.bareName = BareName(path);
}
