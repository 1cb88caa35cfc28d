#include "app/qt/rom_places.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string UserDataFolder() {
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty()) {
        const std::string home = Env("HOME");
        if (home.empty()) return {};
        data = home + "/.local/share";
    }
    while (data.size() > 1 && data.back() == '/') data.pop_back();
    return data + "/noltace/roms/";
}

} // namespace

std::vector<RomPlace> AceRomPlaces(const std::string& executableFolder) {
    std::vector<RomPlace> places;
    places.push_back({"the file named by the environment variable NOLTACE_ROM", Env("NOLTACE_ROM")});
    places.push_back({"the roms folder beside the program", executableFolder + "roms/ace.rom"});
    const std::string data = UserDataFolder();
    if (!data.empty()) places.push_back({"your personal data folder", data + "ace.rom"});
    return places;
}

std::string FindAceRom(const std::string& executableFolder) {
    std::error_code error;
    for (const RomPlace& place : AceRomPlaces(executableFolder))
        if (!place.path.empty() && std::filesystem::is_regular_file(place.path, error)) return place.path;
    return {};
}
