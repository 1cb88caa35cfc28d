#include "tape/file_kinds.h"

FileKind currentFileKind = FileKind::None;

namespace {

constexpr FileKindEnding kTable[] = {
    {".ace", FileKind::Snapshot}, {".ACE", FileKind::Snapshot}, {".tap", FileKind::Tap},
    {".TAP", FileKind::Tap},      {".wav", FileKind::Wav},      {".WAV", FileKind::Wav},
    {".tzx", FileKind::Tzx},      {".TZX", FileKind::Tzx},      {".txt", FileKind::Spool},
    {".TXT", FileKind::Spool},    {".ja4", FileKind::Spool},    {".JA4", FileKind::Spool},
    {".fs", FileKind::Spool},     {".FS", FileKind::Spool},
    // The endings FORTH programmers give their source files.
    {".forth", FileKind::Spool},  {".FORTH", FileKind::Spool},  {".fth", FileKind::Spool},
    {".FTH", FileKind::Spool},    {".4th", FileKind::Spool},    {".4TH", FileKind::Spool},
    {".f", FileKind::Spool},      {".F", FileKind::Spool},      {".rom", FileKind::Rom},
    {".ROM", FileKind::Rom},
};

} // namespace

std::span<const FileKindEnding> FileKindTable() {
    return kTable;
}

FileKind FileKindByEnding(std::string_view name) {
    for (const FileKindEnding& entry : kTable)
        if (name.ends_with(entry.ending)) return entry.kind;
    return FileKind::None;
}
