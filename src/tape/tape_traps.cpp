// The two ROM traps of the tape deck: ED FC at 0x18A7 delivers TAP blocks to the ROM's
// LOAD, ED FD at 0x1820 writes the ROM's SAVE to a TAP file. Both are reached from the
// instruction step with the ROM routine's own arguments in HL and DE.
#include <algorithm>

#include "base/host.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "tape/file_paths.h"
#include "tape/tap_format.h"
#include "tape/tape_deck.h"

namespace {

constexpr int kHeaderNameLength = 10;

// The ROM asked for a name; make its buffer hold the tape's name up to the first space,
// so the header about to land in memory is accepted whatever was asked for. A name that
// starts with a space leaves the request as it is.
void AdoptTapeName(const std::vector<uint8_t>& d, size_t length) {
    if (length < 2 || d[1] == ' ') return;
    for (size_t i = 1; i <= kHeaderNameLength && i < length; ++i) {
        machine.ram[kHeaderNameOffset - 1 + i] = d[i];
        if (i + 1 < length && d[i + 1] == ' ') break;
    }
}

// Copies the block without its checksum byte as the processor would write it: mirrors
// folded, ROM and missing RAM ignored, addresses wrapping at 64 KB.
void CopyBlockToMemory(const std::vector<uint8_t>& d, size_t length, uint16_t hl) {
    for (size_t k = 0; k + 1 < length; ++k)
        WriteMemory(uint16_t(hl + k), d[k]);
}

} // namespace

bool TapeLoadTrap() {
    if (!tapeInDeck) return false;
    if (!currentBlock) {
        if (opt_autorewind) currentBlock = tapeInDeck->first();
    } else {
        const TapeBlock& block = *currentBlock;
        const size_t length = std::min<size_t>(block.length, block.data.size());
        const uint16_t hl = machine.hl.w;
        if (expectHeader) {
            AdoptTapeName(block.data, length);
            CopyBlockToMemory(block.data, length, hl);
            // The ROM compares the name in the header it just read with the one it asked
            // for. It reads the header through the video-RAM mirror (HL = 0x231A), so the
            // name goes back through the same mirror the processor reads.
            for (int k = 0; k < kHeaderNameLength; ++k)
                WriteMemory(uint16_t(hl + 1 + k), machine.ram[kHeaderNameOffset + k]);
            expectHeader = false;
        } else {
            CopyBlockToMemory(block.data, length, hl);
            expectHeader = true;
        }
        if (block.next) currentBlock = block.next;
    }
    // Carry set ("block read"); S, Z and P/V kept; bits 3 and 5 from A.
    machine.af.lo = uint8_t((machine.af.lo & 0xC4) | 0x01 | (machine.af.hi & 0x28));
    return true;
}

void TapeSaveTrap() {
    const uint16_t count = machine.de.w;
    std::vector<uint8_t> bytes(count);
    if (saveHeaderNext) {
        FileDialogRequest request;
        request.title = "Save Tape File";
        request.filters = {{"TAP files (*.tap)", "*.tap"}};
        request.initialFolder = FolderOf(tapeFolder);
        request.defaultExtension = "tap";
        const std::string chosen = host().ChooseSaveFile(request);
        saveHeaderNext = false;
        if (tapSaveFile) std::fclose(tapSaveFile);
        tapSaveFile = nullptr;
        // Cancelled: the ROM still sends the data block next; with no file open it is
        // dropped, so one SAVE asks once and the next SAVE starts with its header again.
        if (chosen.empty()) return;
        tapeFolder = chosen;
        tapSaveFile = std::fopen(WithExtension(chosen, ".tap").c_str(), "wb");
        // The header always comes from the ROM's own header buffer.
        for (uint16_t k = 0; k < count; ++k)
            bytes[k] = machine.ram[uint16_t(kHeaderBufferOffset + k)];
        WriteTapBlock(tapSaveFile, bytes);
    } else {
        // The data as the processor sees it, so that ROM or mirrored addresses save what
        // a real Ace would send to tape.
        const uint16_t hl = machine.hl.w;
        for (uint16_t k = 0; k < count; ++k)
            bytes[k] = ReadMemory(uint16_t(hl + k));
        WriteTapBlock(tapSaveFile, bytes);
        if (tapSaveFile) std::fclose(tapSaveFile);
        tapSaveFile = nullptr;
        saveHeaderNext = true;
    }
}
