#include "base/current_file.h"

std::string currentFileName;
std::string currentFilePath;
std::string currentBareName;

std::string BareName(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

void ResetCurrentFile() {
    currentFileName.clear();
    currentFilePath.clear();
    currentBareName.clear();
}
