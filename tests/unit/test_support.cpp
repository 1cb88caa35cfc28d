#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "machine/reset.h"
#include "machine/rom.h"

namespace fs = std::filesystem;

bool TestDataRequired() {
    const char* required = std::getenv("NOLTACE_REQUIRE_DATA");
    return required && std::string(required) == "1";
}

std::string TestRomPath() {
    const char* path = std::getenv("NOLTACE_TEST_ROM");
    if (!path || !*path || !fs::is_regular_file(path)) return {};
    return path;
}

std::string TestDataPath() {
    const char* path = std::getenv("NOLTACE_TESTDATA");
    if (!path || !*path || !fs::is_directory(path)) return {};
    return path;
}

std::string ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps two test runs at once (two build trees) out of each other's files.
    fs::path dir = fs::temp_directory_path() / ("noltace-tests-" + std::to_string(getpid())) /
                   (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string() + "/";
}

std::string ReadFileText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void MachineTest::SetUp() {
    SetHost(&recorder);
    ResetEmulator();
}

void MachineTest::TearDown() {
    SetHost(nullptr);
}

bool MachineTest::BootTestRom() {
    const std::string rom = TestRomPath();
    if (rom.empty()) return false;
    if (LoadRomFile(rom, "ACE.ROM") != LoadResult::Loaded) return false;
    ResetMachine();
    return true;
}
