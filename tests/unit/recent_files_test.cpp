#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/recent_files.h"
#include "test_support.h"

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Paths(const RecentFiles& recent) {
    std::vector<std::string> paths;
    for (const LoadedFile& f : recent.entries())
        paths.push_back(f.path);
    return paths;
}

// The list keeps ten, newest first, one entry per path, and survives a restart.
TEST(RecentFilesTest, NewestFirstTenAtMostAndKeptInTheStore) {
    const std::string folder = ScratchFolder();
    const std::string store = folder + "recent-files";
    RecentFiles recent(store);
    EXPECT_TRUE(recent.entries().empty()) << "no store yet";
    for (int i = 1; i <= 12; ++i)
        recent.Add({folder + "tape" + std::to_string(i) + ".tap"});
    ASSERT_EQ(recent.entries().size(), 10u);
    EXPECT_EQ(recent.entries().front().path, folder + "tape12.tap");
    EXPECT_EQ(recent.entries().back().path, folder + "tape3.tap");

    recent.Add({folder + "tape5.tap"}); // loaded again: moves to the top, not twice
    recent.Add({folder + "code.bin", true, 16384});
    EXPECT_EQ(Paths(recent)[0], folder + "code.bin");
    EXPECT_EQ(Paths(recent)[1], folder + "tape5.tap");
    const std::vector<std::string> paths = Paths(recent);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), folder + "tape5.tap"), 1);
    recent.Remove(folder + "tape12.tap");

    const RecentFiles again(store);
    EXPECT_EQ(Paths(again), Paths(recent));
    EXPECT_TRUE(again.entries()[0].binary);
    EXPECT_EQ(again.entries()[0].address, 16384);
    EXPECT_EQ(ReadText(store).rfind("binary 16384 " + folder + "code.bin\nfile " + folder + "tape5.tap\n", 0), 0u);
}

TEST(RecentFilesTest, RelativeNamesAreKeptAbsoluteAndBadLinesAreSkipped) {
    const std::string folder = ScratchFolder();
    const std::string store = folder + "recent-files";
    std::ofstream(store) << "file /tapes/a.tap\r\n"
                         << "garbage\n"
                         << "binary 70000 /x.bin\n" // no such address
                         << "binary 16384\n"        // no name
                         << "file \n"
                         << "binary 0 /zero.bin\n";
    RecentFiles recent(store);
    EXPECT_EQ(Paths(recent), (std::vector<std::string>{"/tapes/a.tap", "/zero.bin"}));
    recent.Add({"relative/b.tap"});
    EXPECT_TRUE(std::filesystem::path(recent.entries()[0].path).is_absolute());
    EXPECT_EQ(RecentFileLabel({"/tapes/a.tap"}), "a.tap  (/tapes)");
    EXPECT_EQ(RecentFileLabel({"/c/code.bin", true, 16384}), "code.bin at 16384  (/c)");
}

} // namespace
