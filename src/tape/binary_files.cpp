#include "tape/binary_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/file_writer.h"
#include "base/host.h"
#include "base/loaded_files.h"
#include "base/messages.h"
#include "base/number_text.h"
#include "machine/machine_state.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"

namespace {

constexpr size_t kNameFieldLength = 255; // as long as the dialog's name field

bool ValidAddress(std::optional<uint32_t> address) {
    return address && *address < kMemorySize;
}

} // namespace

BinaryResult PlaceBinary(std::span<const uint8_t> bytes, uint32_t address) {
    if (address >= kMemorySize) return BinaryResult::BadAddress;
    const size_t room = kMemorySize - address;
    const size_t count = std::min(bytes.size(), room);
    if (count) std::memcpy(machine.ram + address, bytes.data(), count);
    return bytes.size() > room ? BinaryResult::Truncated : BinaryResult::Done;
}

LoadResult LoadBinaryFile(const std::string& path, uint32_t address) {
    if (address >= kMemorySize || !ReadFileBytes(path, loadBuffer)) return LoadResult::Failed;
    PlaceBinary(LoadBufferBytes(), address);
    FreeLoadBuffer();
    NoteLoadedFile({path, true, uint16_t(address)});
    return LoadResult::Loaded;
}

BinaryResult SaveBinaryFile(const std::string& path, uint32_t start, uint32_t length) {
    if (start >= kMemorySize) return BinaryResult::BadAddress;
    const size_t count = std::min<size_t>(length, kMemorySize - start);
    std::string error;
    if (!WriteWholeFile(WithExtension(path, ".bin"), std::span(machine.ram + start, count), error)) {
        ReportWriteFailure(error);
        return BinaryResult::CannotWrite;
    }
    return count < length ? BinaryResult::Truncated : BinaryResult::Done;
}

std::string BrowseBinaryFile(const std::string& currentPath) {
    FileDialogRequest request;
    request.title = "Open Binary File";
    request.initialFolder = FolderOf(currentPath);
    const std::string chosen = host().ChooseOpenFile(request);
    return chosen.empty() ? currentPath : chosen;
}

bool LoadBinaryFileCommand(const std::string& path, const std::string& addressText) {
    const std::optional<uint32_t> address = ParseNumber(addressText);
    if (!ValidAddress(address)) return !ReportMessage(kCaptionFile, kMsgBadNumber);
    // The command line's form stays silent; here someone pressed OK and waits for it.
    if (LoadBinaryFile(path, *address) != LoadResult::Loaded) ReportMessage(kCaptionOptions, kMsgFileNotFound);
    return true;
}

bool SaveBinaryFileCommand(const std::string& nameText, const std::string& startText,
                           const std::string& lengthText) {
    const std::optional<uint32_t> start = ParseNumber(startText);
    const std::optional<uint32_t> length = ParseNumber(lengthText);
    if (!ValidAddress(start) || !length) return !ReportMessage(kCaptionFile, kMsgBadNumber);
    FileDialogRequest request;
    request.title = "Save File";
    request.filters = {{"BIN files (*.bin)", "*.bin"}};
    request.initialName = nameText.substr(0, kNameFieldLength);
    request.initialFolder = FolderOf(request.initialName);
    request.defaultExtension = "bin";
    const std::string chosen = host().ChooseSaveFile(request);
    if (chosen.empty()) return false;
    SaveBinaryFile(chosen, *start, *length);
    return true;
}
