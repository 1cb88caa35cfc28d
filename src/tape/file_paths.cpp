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
    return ExtensionDot(path) == std::string::npos ? path + ext : path;
}

std::string WithFilterExtension(const std::string& path, const std::string& patterns) {
    const std::string first = patterns.substr(0, patterns.find(';'));
    if (first.size() < 3 || first.compare(0, 2, "*.") != 0 || first == "*.*") return path;
    return WithExtension(path, first.substr(1));
}

std::string FileNameOf(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}
