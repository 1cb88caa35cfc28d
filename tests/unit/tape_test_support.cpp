#include "tape_test_support.h"

#include <fstream>
#include <iterator>

#include "base/current_file.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"
#include "tape/spool.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"

void ResetTapeAndFileState() {
    tapeDeck.Reset();
    opt_autoload = false;
    opt_tape_type = 0;
    opt_autorewind = false;
    opt_fastloadtzx = false; // the settings default; tests that want speed say so
    snapshotFolder.clear();
    tapeFolder.clear();
    spoolFolder.clear();
    currentFile.Reset();
    currentFileKind = FileKind::None;
    FreeLoadBuffer();
    ClearSpool();
}

void TapeTest::SetUp() {
    MachineTest::SetUp();
    SetHost(&dialogs);
    ResetTapeAndFileState();
}

void TapeTest::TearDown() {
    ResetTapeAndFileState();
    MachineTest::TearDown();
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes AceHeader(uint8_t type, const std::string& name, uint16_t length, uint16_t address) {
    Bytes h(25, 0x20);
    h[0] = type;
    for (size_t k = 0; k < 10; ++k)
        h[1 + k] = k < name.size() ? uint8_t(name[k]) : 0x20;
    h[11] = uint8_t(length);
    h[12] = uint8_t(length >> 8);
    h[13] = uint8_t(address);
    h[14] = uint8_t(address >> 8);
    return h;
}

Bytes TapBlock(const Bytes& data) {
    return EncodeTapBlock(data);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
