#include "app/rom_lookup.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string UserDataFolder() {
    std::string data = EnvOrEmpty("XDG_DATA_HOME");
    if (!data.empty()) return data;
    const std::string home = EnvOrEmpty("HOME");
    return home.empty() ? std::string() : home + "/.local/share";
}

// Where a distribution or an administrator puts the ROM for every user.
constexpr const char* kSystemRomPaths[] = {"/usr/share/noltace/roms/ace.rom",
                                           "/usr/local/share/noltace/roms/ace.rom"};

} // namespace

std::string UserRomPath() {
    const std::string data = UserDataFolder();
    return data.empty() ? std::string() : data + "/noltace/roms/ace.rom";
}

std::vector<std::string> RomSearchPaths(const std::string& executableFolder) {
    std::vector<std::string> paths;
    const std::string fromEnv = EnvOrEmpty("NOLTACE_ROM");
    if (!fromEnv.empty()) paths.push_back(fromEnv);
    std::string folder = executableFolder.empty() ? std::string(".") : executableFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    paths.push_back(folder + (folder == "/" ? "" : "/") + "roms/ace.rom");
    const std::string user = UserRomPath();
    if (!user.empty()) paths.push_back(user);
    for (const char* path : kSystemRomPaths)
        paths.push_back(path);
    return paths;
}

std::string FindStandardRom(const std::string& executableFolder) {
    for (const std::string& path : RomSearchPaths(executableFolder)) {
        std::error_code error;
        if (fs::is_regular_file(path, error)) return path;
    }
    return {};
}

std::string DescribeRomSearch(const std::string& executableFolder) {
    std::string text;
    for (const std::string& path : RomSearchPaths(executableFolder)) {
        if (!text.empty()) text += ", ";
        text += path;
    }
    return text;
}

std::string ExecutableFolder(const char* argv0) {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error && argv0 && *argv0) exe = fs::absolute(argv0, error);
    if (error || exe.empty()) return ".";
    return exe.parent_path().string();
}
