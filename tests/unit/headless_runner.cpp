#include "headless_runner.h"

#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q.append("'\\''");
        else
            q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

} // namespace

int HeadlessResult::ErrLines() const {
    int n = 0;
    for (char c : err)
        n += c == '\n';
    return n;
}

std::string HeadlessPath() {
    const char* path = std::getenv("NOLTACE_HEADLESS");
    if (!path || !*path || !std::filesystem::is_regular_file(path)) return {};
    return path;
}

HeadlessResult RunHeadless(const std::vector<std::string>& args, const std::string& envPrefix) {
    // Beside the test's scratch files, which ScratchFolder() would wipe.
    static int runs = 0;
    const std::string folder = (std::filesystem::temp_directory_path() / "noltace-tests" /
                                ("headless-" + std::to_string(getpid()) + "-" + std::to_string(++runs)))
                                   .string() +
                               "/";
    std::filesystem::create_directories(folder);
    std::vector<std::string> words = {HeadlessPath()};
    words.insert(words.end(), args.begin(), args.end());
    std::string command = envPrefix;
    for (const std::string& word : words)
        command.append(1, ' ').append(ShellQuote(word));
    command.append(" >").append(ShellQuote(folder + "out")).append(" 2>").append(ShellQuote(folder + "err"));
    const int raw = std::system(command.c_str());
    HeadlessResult result;
    if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.out = ReadAll(folder + "out");
    result.err = ReadAll(folder + "err");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}

void HeadlessRomFixture::SetUp() {
    if (HeadlessPath().empty()) GTEST_SKIP() << "NOLTACE_HEADLESS does not name noltace-headless";
    if (TestRomPath().empty()) GTEST_SKIP() << "NOLTACE_TEST_ROM does not name a readable ace.rom";
    dir = ScratchFolder();
}

HeadlessResult HeadlessRomFixture::Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--rom", TestRomPath()});
    return RunHeadless(args);
}
