#include "base/file_writer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "base/messages.h"

namespace {

// The permissions a plain fopen would give the new file. The owner always keeps read
// and write: the web build's C library reports a umask of 0777, which would leave a
// file nobody may read.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return (0666 & ~mask) | S_IRUSR | S_IWUSR;
}

} // namespace

FileWriter::FileWriter(std::string path, Mode mode) : path_(std::move(path)), mode_(mode) {}

FileWriter::~FileWriter() {
    Abandon();
}

bool FileWriter::Fail(int error) {
    if (reason_.empty()) reason_ = error ? std::strerror(error) : "nothing written";
    return false;
}

bool FileWriter::Open() {
    Abandon();
    reason_.clear();
    if (mode_ == kAppend) {
        file_ = std::fopen(path_.c_str(), "ab");
        return file_ || Fail(errno);
    }
    // A name of its own beside the target, so the rename stays within one file system
    // and two writers of one file never share a temporary.
    temporary_ = path_ + ".XXXXXX";
    const int fd = mkstemp(temporary_.data());
    if (fd < 0) {
        temporary_.clear();
        return Fail(errno);
    }
    fchmod(fd, NewFileMode());
    file_ = fdopen(fd, "wb");
    if (!file_) {
        const int error = errno;
        close(fd);
        std::remove(temporary_.c_str());
        temporary_.clear();
        return Fail(error);
    }
    return true;
}

bool FileWriter::Write(std::span<const uint8_t> bytes) {
    if (!file_) return false;
    if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) return true;
    return Fail(errno);
}

bool FileWriter::Write(std::string_view text) {
    return Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool FileWriter::Commit() {
    if (!file_) return Fail(reason_.empty() ? EBADF : 0);
    bool ok = reason_.empty() && (!std::ferror(file_) || Fail(EIO));
    if (ok && std::fflush(file_) != 0) ok = Fail(errno);
    if (ok && fsync(fileno(file_)) != 0) ok = Fail(errno);
    if (std::fclose(file_) != 0 && ok) ok = Fail(errno);
    file_ = nullptr;
    if (!temporary_.empty()) {
        if (ok && std::rename(temporary_.c_str(), path_.c_str()) != 0) ok = Fail(errno);
        if (!ok) std::remove(temporary_.c_str());
    }
    temporary_.clear();
    return ok;
}

void FileWriter::Abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
}

std::string FileWriter::Error() const {
    return reason_.empty() ? std::string() : "cannot write '" + path_ + "': " + reason_;
}

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error) {
    FileWriter out(path);
    if (out.Open() && out.Write(bytes) && out.Commit()) return true;
    error = out.Error();
    return false;
}

bool WriteWholeFile(const std::string& path, std::string_view text, std::string& error) {
    return WriteWholeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

bool ReportWriteFailure(const std::string& error) {
    return ReportMessage(kCaptionFile, kMsgCannotWriteFile, error);
}
