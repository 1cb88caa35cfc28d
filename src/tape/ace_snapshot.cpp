#include "tape/ace_snapshot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/file_writer.h"
#include "base/host.h"
#include "base/messages.h"
#include "tape/file_kinds.h"
#include "tape/file_paths.h"
#include "tape/load_buffer.h"
#include "tape/wav_deck.h"

namespace {

constexpr uint32_t kImageSize = 0x10000;

// Register slots: each 16-bit register fills the first two bytes of a four-byte slot.
enum : uint32_t {
    kSlotAF = 0x2100,
    kSlotBC = 0x2104,
    kSlotDE = 0x2108,
    kSlotHL = 0x210C,
    kSlotIX = 0x2110,
    kSlotIY = 0x2114,
    kSlotSP = 0x2118,
    kSlotPC = 0x211C,
    kSlotAFAlt = 0x2120,
    kSlotBCAlt = 0x2124,
    kSlotDEAlt = 0x2128,
    kSlotHLAlt = 0x212C,
    kSlotIM = 0x2130,
    kSlotIFF1 = 0x2134,
    kSlotIFF2 = 0x2138,
    kSlotI = 0x213C,
    kSlotR = 0x2140,
};

struct FixedBytes {
    uint32_t offset;
    uint8_t bytes[4];
    int count;
};

// What a snapshot always carries at the start of its area; nothing reads it back.
const FixedBytes kFixedArea[] = {
    {0x2000, {0x01, 0x80, 0x00, 0x00}, 4}, {0x2080, {0x00, 0x00}, 2},
    {0x2082, {0x00, 0x00, 0x00, 0x00}, 4}, {0x2086, {0x00, 0x00, 0x00, 0x00}, 4},
    {0x208A, {0x00, 0x00, 0x03, 0x00}, 4}, {0x208E, {0x00, 0x00, 0x03, 0x00}, 4},
    {0x2092, {0x00, 0x00, 0xFD, 0xFD}, 4}, {0x2096, {0x00, 0x00, 0x01, 0x00}, 4},
    {0x209A, {0x00, 0x00, 0x00, 0x00}, 4}, {0x209E, {0x00, 0x00}, 2},
};

void PutWord(uint8_t* image, uint32_t offset, uint16_t value) {
    image[offset] = uint8_t(value & 0xFF);
    image[offset + 1] = uint8_t(value >> 8);
}

uint16_t GetWord(const uint8_t* image, uint32_t offset) {
    return uint16_t(image[offset] | (image[offset + 1] << 8));
}

} // namespace

SnapshotDecodeResult DecodeAceSnapshot(std::span<const uint8_t> bytes, uint8_t* image) {
    SnapshotDecodeResult result;
    uint32_t d = kSnapshotStart;
    size_t p = 0;
    while (p < bytes.size()) {
        if (bytes[p] != 0xED) {
            // The literals up to the next run code, copied in one go.
            const uint8_t* from = bytes.data() + p;
            const void* code = std::memchr(from, 0xED, bytes.size() - p);
            const size_t literals =
                code ? size_t(static_cast<const uint8_t*>(code) - from) : bytes.size() - p;
            const size_t fits = std::min<size_t>(literals, kImageSize - d);
            std::memcpy(image + d, from, fits);
            d += uint32_t(fits);
            p += fits;
            if (fits < literals) {
                result.overflow = true;
                break;
            }
            continue;
        }
        if (p + 1 >= bytes.size()) break; // ends inside a run code
        const uint8_t n = bytes[p + 1];
        if (n == 0) break; // ED 00: the end marker
        if (p + 2 >= bytes.size()) break;
        if (d + n > kImageSize) {
            result.overflow = true;
            break;
        }
        std::memset(image + d, bytes[p + 2], n);
        d += n;
        p += 3;
    }
    result.end = d;
    return result;
}

namespace {

// True when a run code starts at p: an ED byte, or four equal bytes (pairs and triples
// are cheaper as literals).
bool RunCodeAt(const uint8_t* image, uint32_t p) {
    if (image[p] == 0xED) return true;
    if (p + 4 > kSnapshotSaveEnd) return false;
    uint32_t four;
    std::memcpy(&four, image + p, 4);
    return four == 0x01010101u * image[p];
}

} // namespace

std::vector<uint8_t> EncodeAceSnapshot(const uint8_t* image) {
    std::vector<uint8_t> out;
    out.reserve(kSnapshotSaveEnd - kSnapshotStart + 2);
    uint32_t p = kSnapshotStart;
    while (p < kSnapshotSaveEnd) {
        // The literals up to the next run code, in one go.
        uint32_t literalEnd = p;
        while (literalEnd < kSnapshotSaveEnd && !RunCodeAt(image, literalEnd))
            ++literalEnd;
        out.insert(out.end(), image + p, image + literalEnd);
        p = literalEnd;
        if (p == kSnapshotSaveEnd) break;
        const uint8_t b = image[p];
        int n = 1;
        // Eight bytes at a time while they all repeat b: most of a memory image is long runs.
        const uint64_t eightOfB = 0x0101010101010101ull * b;
        uint64_t eight;
        while (n + 8 <= kSnapshotLongestRun && p + n + 8 <= kSnapshotSaveEnd &&
               (std::memcpy(&eight, image + p + n, 8), eight == eightOfB))
            n += 8;
        while (n < kSnapshotLongestRun && p + n < kSnapshotSaveEnd && image[p + n] == b)
            ++n;
        out.insert(out.end(), {0xED, uint8_t(n), b});
        p += n;
    }
    out.insert(out.end(), {0xED, 0x00});
    return out;
}

void WriteSnapshotArea(uint8_t* image, const MachineState& m) {
    for (const FixedBytes& fixed : kFixedArea)
        std::memcpy(image + fixed.offset, fixed.bytes, fixed.count);
    PutWord(image, kSlotAF, m.af.w);
    PutWord(image, kSlotBC, m.bc.w);
    PutWord(image, kSlotDE, m.de.w);
    PutWord(image, kSlotHL, m.hl.w);
    PutWord(image, kSlotIX, m.ix.w);
    PutWord(image, kSlotIY, m.iy.w);
    PutWord(image, kSlotSP, m.sp);
    PutWord(image, kSlotPC, m.pc);
    PutWord(image, kSlotAFAlt, m.afAlt.w);
    PutWord(image, kSlotBCAlt, m.bcAlt.w);
    PutWord(image, kSlotDEAlt, m.deAlt.w);
    PutWord(image, kSlotHLAlt, m.hlAlt.w);
    image[kSlotIM] = m.im;
    image[kSlotIFF1] = m.iff1;
    image[kSlotIFF2] = m.iff2;
    image[kSlotI] = m.i;
    image[kSlotR] = m.r;
}

void ReadSnapshotRegisters(const uint8_t* image, MachineState& m) {
    m.af.w = GetWord(image, kSlotAF);
    m.bc.w = GetWord(image, kSlotBC);
    m.de.w = GetWord(image, kSlotDE);
    m.hl.w = GetWord(image, kSlotHL);
    m.ix.w = GetWord(image, kSlotIX);
    m.iy.w = GetWord(image, kSlotIY);
    m.sp = GetWord(image, kSlotSP);
    m.pc = GetWord(image, kSlotPC);
    m.afAlt.w = GetWord(image, kSlotAFAlt);
    m.bcAlt.w = GetWord(image, kSlotBCAlt);
    m.deAlt.w = GetWord(image, kSlotDEAlt);
    m.hlAlt.w = GetWord(image, kSlotHLAlt);
    // The Z80 has only modes 0 to 2; a damaged byte falls back to the Ace's own IM 1.
    m.im = image[kSlotIM] <= 2 ? image[kSlotIM] : 1;
    m.iff1 = image[kSlotIFF1] ? 1 : 0;
    m.iff2 = image[kSlotIFF2] ? 1 : 0;
    m.i = image[kSlotI];
    m.r = image[kSlotR];
    m.r7 = image[kSlotR]; // bit 7 of R as saved
    // The saved PC is the next instruction to run (a HALT sits on its own opcode), so a
    // halt in progress must not carry over: leaving it would skip a byte at the next
    // interrupt.
    m.halted = 0;
}

LoadResult LoadAceSnapshot() {
    // Decode into a copy first, so a damaged file leaves the machine as it was.
    std::vector<uint8_t> image(machine.ram, machine.ram + kImageSize);
    const SnapshotDecodeResult result = DecodeAceSnapshot(LoadBufferBytes(), image.data());
    if (result.overflow || result.end < kSnapshotRegistersEnd)
        return ReportLoadFailure(kCaptionFile, kMsgSnapshotLength);
    std::memcpy(machine.ram + kSnapshotStart, image.data() + kSnapshotStart, result.end - kSnapshotStart);
    ReadSnapshotRegisters(machine.ram, machine);
    return LoadResult::Loaded;
}

bool SaveAceSnapshot(const std::string& path) {
    snapshotFolder = path;
    WriteSnapshotArea(machine.ram, machine);
    std::string error;
    if (WriteWholeFile(WithExtension(path, ".ace"), EncodeAceSnapshot(machine.ram), error)) return true;
    ReportWriteFailure(error);
    return false;
}

void SaveSnapshotDialog() {
    FileDialogRequest request;
    request.title = "Save File";
    request.filters = {{"ACE files (*.ace)", "*.ace"}, {"WAV files (*.wav)", "*.wav"}};
    request.initialFolder = FolderOf(snapshotFolder);
    // No default extension: the name's ending tells the two filters apart. The desktop
    // host gives the name the chosen filter's extension; a ".wav" name prepares a
    // recording, any other name saves a snapshot (with ".ace").
    const std::string chosen = host().ChooseSaveFile(request);
    if (chosen.empty()) return;
    if (FileKindByEnding(chosen) == FileKind::Wav) {
        const std::string wavPath = WithExtension(chosen, ".wav");
        // An empty file marks the name at once; the recording's own write reports a
        // folder that takes no file.
        std::string error;
        WriteWholeFile(wavPath, std::string_view(), error);
        PrepareRecording(wavPath);
        return;
    }
    SaveAceSnapshot(chosen);
}
