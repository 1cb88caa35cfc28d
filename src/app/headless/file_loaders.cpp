#include "file_loaders.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "runner.h"
#include "tape/load_file.h"

namespace {

// Tapes, snapshots, spool texts and ROMs load through the same entry as the Load File
// command. A spool it starts (a spool text, or the load command that --autoload types
// for a tape) is then typed to its end, as for --type.
bool LoadLikeLoadFile(const std::string& path, HeadlessRunner& runner, std::string&) {
    if (LoadFileByName(path, LoadRoute::LoadFileDialog)) return false; // reported
    runner.FinishTyping();
    return true;
}

bool NeedsAddress(const std::string&, HeadlessRunner&, std::string& error) {
    error = "a binary file needs an address: use --load-binary FILE ADDRESS";
    return false;
}

const FileKindEntry kFileKinds[] = {
    {"TAP tape", {".tap"}, LoadLikeLoadFile},
    {"TZX tape", {".tzx"}, nullptr},
    {"WAV tape", {".wav"}, nullptr},
    {"ACE snapshot", {".ace"}, LoadLikeLoadFile},
    {"spool text", {".txt", ".ja4", ".fs"}, LoadLikeLoadFile},
    {"ROM image", {".rom"}, LoadLikeLoadFile},
    {"binary file", {".bin"}, NeedsAddress},
};

bool EndsWith(const std::string& s, const std::string& ending) {
    return s.size() >= ending.size() && s.compare(s.size() - ending.size(), ending.size(), ending) == 0;
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(c >= 'a' && c <= 'z' ? c - 32 : c);
    return s;
}

std::string KnownEndings() {
    std::string list;
    for (const FileKindEntry& kind : kFileKinds)
        for (const char* ending : kind.endings)
            if (ending) list += std::string(list.empty() ? "" : " ") + ending;
    return list;
}

} // namespace

const FileKindEntry* FindFileKind(const std::string& path) {
    for (const FileKindEntry& kind : kFileKinds)
        for (const char* ending : kind.endings)
            if (ending && (EndsWith(path, ending) || EndsWith(path, Upper(ending)))) return &kind;
    return nullptr;
}

bool LoadFileByKind(const std::string& path, HeadlessRunner& runner, std::string& error) {
    const FileKindEntry* kind = FindFileKind(path);
    if (!kind) {
        error = "cannot load '" + path + "': unknown kind of file (known endings: " + KnownEndings() + ")";
        return false;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "cannot load '" + path +
                "': " + (std::filesystem::exists(path, ec) ? "not a file" : std::strerror(ENOENT));
        return false;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        error = "cannot load '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (!kind->load) {
        error = "cannot load '" + path + "': " + kind->name + " files are not supported yet";
        return false;
    }
    return kind->load(path, runner, error);
}
