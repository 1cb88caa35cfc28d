#include "tape/load_buffer.h"

#include <cstdio>
#include <filesystem>
#include <new>

#include "base/messages.h"
#include "tape/file_paths.h"

std::vector<uint8_t> loadBuffer;

namespace {

// The buffer's size is a 32-bit count; anything larger is refused rather than cut.
constexpr uintmax_t kLargestFile = 0xFFFFFFFFu;

enum class ReadResult { Ok, CannotOpen, TooBig };

ReadResult ReadInto(const std::string& path, std::vector<uint8_t>& out) {
    out.clear();
    std::error_code error;
    // A folder opens as a stream on Linux but reads as nothing: treat it as missing.
    if (!std::filesystem::is_regular_file(path, error)) return ReadResult::CannotOpen;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return ReadResult::CannotOpen;
    ReadResult result = ReadResult::Ok;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        result = ReadResult::CannotOpen;
    } else if (size > kLargestFile) {
        result = ReadResult::TooBig;
    } else {
        try {
            out.resize(size_t(size));
            if (size && std::fread(out.data(), 1, out.size(), file) != out.size())
                result = ReadResult::CannotOpen;
        } catch (const std::bad_alloc&) {
            result = ReadResult::TooBig;
        }
    }
    std::fclose(file);
    if (result != ReadResult::Ok) {
        out.clear();
        out.shrink_to_fit();
    }
    return result;
}

} // namespace

LoadResult ReadWholeFile(const std::string& path) {
    switch (ReadInto(path, loadBuffer)) {
    case ReadResult::Ok: snapshotFolder = path; return LoadResult::Loaded;
    case ReadResult::CannotOpen: return ReportLoadFailure(kCaptionOptions, kMsgFileNotFound);
    case ReadResult::TooBig: return ReportLoadFailure(kCaptionError, kMsgOutOfMemory);
    }
    return LoadResult::Failed;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out) {
    return ReadInto(path, out) == ReadResult::Ok;
}

void FreeLoadBuffer() {
    loadBuffer.clear();
    loadBuffer.shrink_to_fit();
}
