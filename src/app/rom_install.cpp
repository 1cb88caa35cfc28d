#include "app/rom_install.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "app/rom_lookup.h"
#include "base/file_writer.h"
#include "machine/rom.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kDisableInterrupts = 0xF3; // the Ace's reset starts with DI
// The ROM's keyboard decoding table: the keys of the Ace's matrix, half-row by half-row,
// in lower case. Every Ace ROM, patched or not, reads its keyboard through it.
constexpr std::string_view kKeyMatrixTable = "vhy65tgcbju74rfxnki83edzmlo92ws";

std::string SizeProblem(uintmax_t size) {
    return "it has " + std::to_string(size) + " bytes; the Jupiter Ace ROM has " + std::to_string(kRomSize) + ".";
}

} // namespace

std::string AceRomProblem(const std::vector<uint8_t>& image) {
    if (image.size() != kRomSize) return SizeProblem(image.size());
    const bool hasTable = std::search(image.begin(), image.end(), kKeyMatrixTable.begin(),
                                      kKeyMatrixTable.end()) != image.end();
    if (image[0] != kDisableInterrupts || !hasTable)
        return "it has the right size but does not look like the Jupiter Ace ROM (no Ace keyboard table).";
    return {};
}

std::string InstallUserRom(const std::string& source) {
    std::error_code error;
    const uintmax_t size = fs::file_size(source, error);
    if (error) return "it cannot be read (" + error.message() + ").";
    if (size != kRomSize) return SizeProblem(size); // a file of another size is never read
    std::vector<uint8_t> image(kRomSize);
    std::ifstream in(source, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(image.data()), kRomSize)) return "it cannot be read.";
    if (std::string problem = AceRomProblem(image); !problem.empty()) return problem;

    const std::string target = UserRomPath();
    if (target.empty()) return "there is no home folder to keep it in (HOME is not set).";
    fs::create_directories(fs::path(target).parent_path(), error);
    if (error) return "the folder " + fs::path(target).parent_path().string() + " cannot be made (" + error.message() + ").";
    // Written whole or not at all, so a failed copy never leaves a half ROM where the
    // lookup looks.
    std::string writeError;
    if (!WriteWholeFile(target, image, writeError)) return "it cannot be written to " + target + ".";
    return {};
}
