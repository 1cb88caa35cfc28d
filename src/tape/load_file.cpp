#include "tape/load_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/dropped_file.h"
#include "app/messages.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "tape/file_kinds.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

} // namespace

// The loaders of the tape, snapshot and spool kinds join here as they are written;
// until then those kinds are recognised and left alone.
bool LoadFileByName(const std::string& path, LoadRoute route) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes)) return ReportMessage(kCaptionOptions, 13);

    const FileKind kind = route == LoadRoute::Dropped ? DroppedFileKind(path) : FileKindByEnding(path);
    if (kind == FileKind::None) {
        if (route == LoadRoute::CommandLine) return true;
        return ReportMessage(kCaptionError, 22);
    }
    if (kind == FileKind::Rom) {
        if (route != LoadRoute::LoadFileDialog) return true;
        if (LoadCustomRom(path)) return true;
        ResetMachine();
        return false;
    }
    return true;
}

bool LoadBinaryFile(const std::string& path, uint32_t address) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes) || address > 0xFFFF) return true;
    const size_t room = 0x10000 - address;
    std::memcpy(ramBlock + address, bytes.data(), std::min(bytes.size(), room));
    return false;
}
