// The two ROM traps of the tape deck: ED FC at 0x18A7 delivers TAP blocks to the ROM's
// LOAD, ED FD at 0x1820 writes the ROM's SAVE to a TAP file. Both are reached from the
// instruction step with the ROM routine's own arguments in HL and DE.
#include <algorithm>

#include "base/file_writer.h"
#include "base/host.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "tape/file_paths.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"

namespace {

// The ROM reads a tape header as 25 bytes into 0x271A, through the video-RAM mirror at
// 0x231A, beside the request at 0x2701; every other read is a file's data.
constexpr uint16_t kHeaderRequestLength = 25;
constexpr uint16_t kHeaderReadAddress = 0x271A;
constexpr uint16_t kVideoMirrorBit = 0x0400;

bool IsHeaderRequest() {
    return machine.de.w == kHeaderRequestLength && (machine.hl.w | kVideoMirrorBit) == kHeaderReadAddress;
}

// A TAP header block: the ROM's 25 header bytes and the checksum.
bool IsHeaderBlock(const TapeBlock& b) {
    return b.length == kHeaderRequestLength + 1 && b.data.size() >= b.length;
}

TapeBlock* FindHeader(TapeBlock* from) {
    for (TapeBlock* b = from; b; b = b->next)
        if (IsHeaderBlock(*b)) return b;
    return nullptr;
}

// Copies the block without its checksum byte as the processor would write it (mirrors
// folded, ROM and missing RAM ignored, addresses wrapping at 64 KB), and never more
// than the ROM asked for.
void CopyBlockToMemory(const TapeBlock& block, uint16_t hl, uint16_t asked) {
    const size_t present = std::min<size_t>(block.length, block.data.size());
    const size_t count = std::min<size_t>(present > 0 ? present - 1 : 0, asked);
    for (size_t k = 0; k < count; ++k)
        WriteMemory(uint16_t(hl + k), block.data[k]);
}

// Nothing left to deliver: the ROM's own reader runs (the trap stands in for its first
// two instructions, DI and PUSH IY) and listens to a silent tape until BREAK.
void LetTheRomListen() {
    machine.iff1 = machine.iff2 = 0;
    machine.sp = uint16_t(machine.sp - 2);
    WriteMemory(machine.sp, machine.iy.lo);
    WriteMemory(uint16_t(machine.sp + 1), machine.iy.hi);
    machine.pc = uint16_t(kLoadTrapAddress + 3);
}

} // namespace

bool TapeLoadTrap() {
    if (!tapeDeck.tapeInDeck) return false;
    // Autorewind winds the tape back as each LOAD begins, as for a TZX tape.
    if (NoteRomListening() && opt_autorewind) tapeDeck.currentBlock = tapeDeck.tapeInDeck->first();
    const bool header = IsHeaderRequest();
    // A header request passes the data of a file the ROM did not want.
    TapeBlock* block = header ? FindHeader(tapeDeck.currentBlock) : tapeDeck.currentBlock;
    if (!block) {
        tapeDeck.currentBlock = nullptr;
        LetTheRomListen();
        return false;
    }
    // The header goes in as the tape holds it: the ROM compares the names itself, shows
    // the tape's own name and asks again when it is not the file it wants.
    CopyBlockToMemory(*block, machine.hl.w, machine.de.w);
    tapeDeck.currentBlock = block->next;
    tapeDeck.tapeAtEnd = tapeDeck.currentBlock == nullptr;
    // Carry set ("block read"); S, Z and P/V kept; bits 3 and 5 from A.
    machine.af.lo = uint8_t((machine.af.lo & 0xC4) | 0x01 | (machine.af.hi & 0x28));
    return true;
}

void FinishTapSave() {
    if (!tapeDeck.tapSave) return;
    if (!tapeDeck.tapSave->Commit()) ReportWriteFailure(tapeDeck.tapSave->Error());
    tapeDeck.tapSave.reset();
}

void TapeSaveTrap() {
    const uint16_t count = machine.de.w;
    std::vector<uint8_t> bytes(count);
    if (tapeDeck.saveHeaderNext) {
        FileDialogRequest request;
        request.title = "Save Tape File";
        request.filters = {{"TAP files (*.tap)", "*.tap"}};
        request.initialFolder = FolderOf(tapeFolder);
        request.defaultExtension = "tap";
        const std::string chosen = host().ChooseSaveFile(request);
        tapeDeck.saveHeaderNext = false;
        // A save whose data never came (BREAK) keeps its header, as a tape would.
        FinishTapSave();
        // Cancelled: the ROM still sends the data block next; with no file open it is
        // dropped, so one SAVE asks once and the next SAVE starts with its header again.
        if (chosen.empty()) return;
        tapeFolder = chosen;
        tapeDeck.tapSave = std::make_unique<FileWriter>(WithExtension(chosen, ".tap"));
        // The header always comes from the ROM's own header buffer.
        for (uint16_t k = 0; k < count; ++k)
            bytes[k] = machine.ram[uint16_t(kHeaderBufferOffset + k)];
        // A file that cannot be made is reported with the data block, at Commit().
        if (tapeDeck.tapSave->Open()) tapeDeck.tapSave->Write(EncodeTapBlock(bytes));
    } else {
        // The data as the processor sees it, so that ROM or mirrored addresses save what
        // a real Ace would send to tape.
        const uint16_t hl = machine.hl.w;
        for (uint16_t k = 0; k < count; ++k)
            bytes[k] = ReadMemory(uint16_t(hl + k));
        if (tapeDeck.tapSave) tapeDeck.tapSave->Write(EncodeTapBlock(bytes));
        FinishTapSave();
        tapeDeck.saveHeaderNext = true;
    }
}
