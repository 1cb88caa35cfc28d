#include "app/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/command_line.h"
#include "base/file_writer.h"

namespace fs = std::filesystem;

namespace {

std::string Absolute(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// One line of the store, or false when it is not an entry.
bool ParseLine(const std::string& line, LoadedFile& file) {
    if (line.rfind("file ", 0) == 0 && line.size() > 5) {
        file = {line.substr(5)};
        return true;
    }
    if (line.rfind("binary ", 0) != 0) return false;
    const size_t space = line.find(' ', 7);
    if (space == std::string::npos || space + 1 >= line.size()) return false;
    file = {line.substr(space + 1), true};
    return ParseDecimalAddress(line.substr(7, space - 7), file.address);
}

} // namespace

RecentFiles::RecentFiles(std::string storePath) : storePath_(std::move(storePath)) {
    Load();
}

void RecentFiles::Load() {
    entries_.clear();
    if (storePath_.empty()) return;
    std::ifstream in(storePath_);
    std::string line;
    while (entries_.size() < kMaxEntries && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        LoadedFile file;
        if (ParseLine(line, file)) entries_.push_back(file);
    }
}

void RecentFiles::Add(const LoadedFile& file) {
    LoadedFile entry = file;
    entry.path = Absolute(file.path);
    Erase(entry.path);
    entries_.insert(entries_.begin(), entry);
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
    Save();
}

void RecentFiles::Remove(const std::string& path) {
    if (Erase(path)) Save();
}

bool RecentFiles::Erase(const std::string& path) {
    const auto same = [&](const LoadedFile& e) { return e.path == path; };
    const auto before = entries_.size();
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), same), entries_.end());
    return entries_.size() != before;
}

void RecentFiles::Save() const {
    if (storePath_.empty()) return;
    std::ostringstream out;
    for (const LoadedFile& e : entries_) {
        // A name with a line break cannot be kept in a line-per-entry file.
        if (e.path.find_first_of("\r\n") != std::string::npos) continue;
        if (e.binary)
            out << "binary " << e.address << ' ' << e.path << '\n';
        else
            out << "file " << e.path << '\n';
    }
    std::string error; // the list is a convenience; losing it is no reason to interrupt
    WriteWholeFile(storePath_, out.str(), error);
}

std::string RecentFileLabel(const LoadedFile& file) {
    const fs::path path(file.path);
    std::string label = path.filename().string();
    if (file.binary) label += " at " + std::to_string(file.address);
    return label + "  (" + path.parent_path().string() + ")";
}
