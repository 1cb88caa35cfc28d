// Helpers for the tape and file tests: a clean deck and file state for every test, and
// small builders for TAP files and ROM headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

using Bytes = std::vector<uint8_t>;

// A RecordingHost that also keeps the last file dialog requests.
class CapturingHost : public RecordingHost {
  public:
    FileDialogRequest lastOpen, lastSave;
    std::string ChooseOpenFile(const FileDialogRequest& r) override {
        lastOpen = r;
        return RecordingHost::ChooseOpenFile(r);
    }
    std::string ChooseSaveFile(const FileDialogRequest& r) override {
        lastSave = r;
        return RecordingHost::ChooseSaveFile(r);
    }
};

// MachineTest plus an empty deck, default tape settings and no remembered folders.
class TapeTest : public MachineTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    CapturingHost dialogs; // installed in place of MachineTest's recorder
};

void ResetTapeAndFileState();

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& bytes);

// The ROM's 25-byte tape header: type (0 dictionary, 0x20 bytes), the name padded with
// spaces to ten characters, then length, start address and the ROM's other fields.
Bytes AceHeader(uint8_t type, const std::string& name, uint16_t length, uint16_t address);
// One TAP block for `data`: length, data, XOR.
Bytes TapBlock(const Bytes& data);
Bytes Concat(std::initializer_list<Bytes> parts);
