#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/rom_lookup.h"
#include "test_support.h"

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RomLookupTest, SearchesEnvironmentThenProgramFolderThenUserData) {
    const std::string folder = ScratchFolder();
    ScopedEnv rom("NOLTACE_ROM", (folder + "mine.rom").c_str());
    ScopedEnv data("XDG_DATA_HOME", (folder + "data").c_str());
    EXPECT_EQ(RomSearchPaths("/opt/noltace"),
              (std::vector<std::string>{folder + "mine.rom", "/opt/noltace/roms/ace.rom",
                                        folder + "data/noltace/roms/ace.rom"}));
    EXPECT_EQ(FindStandardRom(folder), "") << "none of them exists";

    std::filesystem::create_directories(folder + "data/noltace/roms");
    std::ofstream(folder + "data/noltace/roms/ace.rom") << "x";
    EXPECT_EQ(FindStandardRom(folder), folder + "data/noltace/roms/ace.rom");
    std::filesystem::create_directories(folder + "roms");
    std::ofstream(folder + "roms/ace.rom") << "x";
    EXPECT_EQ(FindStandardRom(folder), folder + "roms/ace.rom");
    std::ofstream(folder + "mine.rom") << "x";
    EXPECT_EQ(FindStandardRom(folder), folder + "mine.rom");
}

TEST(RomLookupTest, UserDataDefaultsToTheHomeFolder) {
    ScopedEnv rom("NOLTACE_ROM", nullptr);
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", "/home/ace");
    EXPECT_EQ(RomSearchPaths("/x"),
              (std::vector<std::string>{"/x/roms/ace.rom", "/home/ace/.local/share/noltace/roms/ace.rom"}));
    EXPECT_NE(DescribeRomSearch("/x").find("/x/roms/ace.rom, /home/ace"), std::string::npos);
    EXPECT_FALSE(ExecutableFolder().empty());
}

} // namespace
