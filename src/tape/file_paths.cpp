#include "tape/file_paths.h"

std::string snapshotFolder;
std::string tapeFolder;
std::string spoolFolder;

namespace {

std::string::size_type NameStart(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the dot that starts the file name's extension, or npos.
std::string::size_type ExtensionDot(const std::string& path) {
    const auto start = NameStart(path);
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot <= start) return std::string::npos;
    return dot;
}

} // namespace

std::string WithExtension(const std::string& path, const std::string& ext) {
    const auto dot = ExtensionDot(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ext;
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}
