#include "file_loaders.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "machine/reset.h"
#include "machine/rom.h"
#include "runner.h"
#include "tape/spool.h"

namespace {

// Spool text: typed as it stands (a CR is ENTER, a LF a released keyboard), then the
// frames run until it is all typed, as for --type.
bool LoadSpoolFile(const std::string& path, HeadlessRunner& runner, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.good() && !file.eof()) {
        error = "cannot read '" + path + "'";
        return false;
    }
    runner.TypeKeys(text);
    return true;
}

bool LoadRom(const std::string& path, HeadlessRunner& runner, std::string& error) {
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(path, ec).string();
    if (LoadCustomRom(ec ? path : absolute)) return false; // reported: wrong length or unreadable
    ResetMachine();
    return true;
}

const FileKindEntry kFileKinds[] = {
    {"TAP tape", {".tap"}, nullptr},
    {"TZX tape", {".tzx"}, nullptr},
    {"WAV tape", {".wav"}, nullptr},
    {"ACE snapshot", {".ace"}, nullptr},
    {"spool text", {".txt", ".ja4", ".fs"}, LoadSpoolFile},
    {"ROM image", {".rom"}, LoadRom},
    {"binary file", {".bin"}, nullptr},
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
