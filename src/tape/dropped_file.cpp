#include "tape/dropped_file.h"

std::string_view DroppedExtension(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

FileKind DroppedFileKind(std::string_view path) {
    const std::string_view extension = DroppedExtension(path);
    for (const FileKindEnding& entry : FileKindTable()) {
        // A one-letter ending (".f") begins too many other extensions (".flac", ".fnt"):
        // it matches only itself.
        const bool oneLetter = entry.ending.size() == 2;
        if (oneLetter ? extension == entry.ending : extension.starts_with(entry.ending)) return entry.kind;
    }
    return FileKind::None;
}
