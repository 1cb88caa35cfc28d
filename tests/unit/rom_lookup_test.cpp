#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/rom_install.h"
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
                                        folder + "data/noltace/roms/ace.rom", "/usr/share/noltace/roms/ace.rom",
                                        "/usr/local/share/noltace/roms/ace.rom"}));
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
              (std::vector<std::string>{"/x/roms/ace.rom", "/home/ace/.local/share/noltace/roms/ace.rom",
                                        "/usr/share/noltace/roms/ace.rom", "/usr/local/share/noltace/roms/ace.rom"}));
    EXPECT_EQ(UserRomPath(), "/home/ace/.local/share/noltace/roms/ace.rom");
    EXPECT_NE(DescribeRomSearch("/x").find("/x/roms/ace.rom, /home/ace"), std::string::npos);
    EXPECT_FALSE(ExecutableFolder().empty());
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file the user chooses when no ROM was found: only an 8 KB image that looks like the
// Ace's ROM is copied, and only then is there a ROM where the lookup finds it.
TEST(RomLookupTest, ChosenRomIsCheckedThenCopiedToTheUserDataFolder) {
    const std::string folder = ScratchFolder();
    ScopedEnv data("XDG_DATA_HOME", (folder + "data").c_str());
    const std::string target = folder + "data/noltace/roms/ace.rom";
    std::vector<uint8_t> aceLike(8192, 0);
    aceLike[0] = 0xF3;
    const std::string table = "vhy65tgcbju74rfxnki83edzmlo92ws";
    std::copy(table.begin(), table.end(), aceLike.begin() + 0x100);
    std::vector<uint8_t> noTable = aceLike;
    noTable[0x105] = 'X';
    std::vector<uint8_t> noDi = aceLike;
    noDi[0] = 0;

    struct Case {
        const char* name;
        std::optional<std::vector<uint8_t>> bytes; // nullopt: the file does not exist
        const char* problem;                       // "" when it is accepted
    };
    const Case cases[] = {
        {"missing.rom", std::nullopt, "cannot be read"},
        {"empty.rom", std::vector<uint8_t>{}, "has 0 bytes"},
        {"short.rom", std::vector<uint8_t>(8191, 0xF3), "has 8191 bytes"},
        {"long.rom", std::vector<uint8_t>(8193, 0xF3), "has 8193 bytes"},
        {"zeros.rom", std::vector<uint8_t>(8192, 0), "does not look like"},
        {"no-table.rom", noTable, "does not look like"},
        {"no-di.rom", noDi, "does not look like"},
        {"ace-like.rom", aceLike, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(target);
        const std::string path = folder + c.name;
        if (c.bytes) std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(c.bytes->data()),
                                                                 std::streamsize(c.bytes->size()));
        const std::string problem = InstallUserRom(path);
        if (*c.problem) {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
            EXPECT_FALSE(std::filesystem::exists(target)) << c.name << " was copied";
        } else {
            EXPECT_EQ(problem, "") << c.name;
            EXPECT_EQ(ReadBytes(target), *c.bytes) << c.name;
            EXPECT_EQ(FindStandardRom(folder + "nowhere"), target);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
}

TEST(RomLookupTest, TheRealRomPassesTheCheck) {
    REQUIRE_TEST_ROM();
    EXPECT_EQ(AceRomProblem(ReadBytes(TestRomPath())), "");
}

} // namespace
