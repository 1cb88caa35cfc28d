// Every file the program writes goes through FileWriter: the bytes go to a temporary
// file beside the target, which is flushed, synced to the disk and renamed over the
// target only when all of it is written. A full disk, a missing folder or a crash thus
// never leaves half a file, and an old file stays whole until its successor is.
//
// Usage, a file written at once:
//   std::string error;
//   if (!WriteWholeFile(path, bytes, error)) ReportWriteFailure(error);
// and a file written piece by piece (a listing, a log):
//   FileWriter out(path);
//   if (out.Open()) { std::fputs(line, out.Stream()); ... }
//   if (!out.Commit()) ReportWriteFailure(out.Error());
// A writer dropped without Commit() removes its temporary file and leaves the target.
// A log that grows to any size and may be appended to is the one exception: it is
// written in place (FileWriter::kAppend), and Commit() flushes, syncs and closes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

class FileWriter {
  public:
    enum Mode { kReplace, kAppend };
    explicit FileWriter(std::string path, Mode mode = kReplace);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool Open(); // creates the temporary file; false, with Error(), when it cannot
    bool IsOpen() const { return file_ != nullptr; }
    std::FILE* Stream() { return file_; } // write errors show at Commit()
    bool Write(std::span<const uint8_t> bytes);
    bool Write(std::string_view text);
    // Flushes, syncs, closes and renames over the target; false, with Error(), when any
    // step fails, and then the target is as it was (an appended log keeps what it got).
    bool Commit();
    void Abandon(); // closes and removes the temporary file

    const std::string& Path() const { return path_; }
    // "cannot write '<path>': <reason>", or "" while nothing failed.
    std::string Error() const;
    const std::string& Reason() const { return reason_; } // the system's words alone

  private:
    bool Fail(int error);

    std::string path_;
    Mode mode_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    std::string reason_;
};

bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error);
bool WriteWholeFile(const std::string& path, std::string_view text, std::string& error);

// The one message for a file that could not be written: "File Error: Cannot write file"
// with the writer's error below it. Returns true, as ReportMessage does.
bool ReportWriteFailure(const std::string& error);
