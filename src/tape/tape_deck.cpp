#include "tape/tape_deck.h"

#include "machine/machine_state.h"
#include "machine/rom.h"
#include "tape/spool.h"
#include "tape/tape_header.h"
#include "tape/wav_deck.h"

std::unique_ptr<TapeImage> tapeInDeck;
TapeBlock* currentBlock = nullptr;
bool expectHeader = true;
bool saveHeaderNext = true;
std::FILE* tapSaveFile = nullptr;
uint8_t tapeLevel = 0;
int32_t edgeCountdown = 0;
bool blockStarted = false;
bool tapeAtEnd = false;

bool opt_autoload = false;
uint8_t opt_tape_type = 0;
bool opt_autorewind = false;
bool opt_fastloadtzx = false;

TapeImage::TapeImage(std::vector<TapeBlock> tapeBlocks, bool tzx)
    : blocks(std::move(tapeBlocks)), isTzx(tzx) {
    for (size_t n = 0; n < blocks.size(); ++n) {
        blocks[n].index = int(n);
        blocks[n].prev = n > 0 ? &blocks[n - 1] : nullptr;
        blocks[n].next = n + 1 < blocks.size() ? &blocks[n + 1] : nullptr;
    }
}

std::string tapeFileName;

bool TapeInDeck() {
    return tapeInDeck != nullptr;
}

std::string DeckContents() {
    std::string text;
    if (tapeInDeck) text = tapeFileName + (tapeInDeck->isTzx ? " (TZX)" : " (TAP)");
    if (wavLoaded) text += (text.empty() ? "" : ", ") + wavDisplayName + " (WAV)";
    return text;
}

namespace {

bool listenedThisFrame = false, listenedLastFrame = false;

void WriteRom(uint16_t address, uint8_t a, uint8_t b, uint8_t c) {
    uint8_t* rom = machine.pages[0];
    if (!rom) return;
    rom[address] = a;
    rom[address + 1] = b;
    rom[address + 2] = c;
}

void Insert(std::vector<TapeBlock> blocks, bool tzx, const std::string& bareName) {
    EjectTape();
    const TapeFileName first = FirstFileOnTape(blocks, tzx);
    tapeInDeck = std::make_unique<TapeImage>(std::move(blocks), tzx);
    currentBlock = tapeInDeck->first();
    tapeAtEnd = false;
    ForgetRomListening(); // a LOAD typed before the tape went in still hears it
    if (!tzx) InstallLoadTrap();
    if (opt_autoload) StartSpool(AutoloadText(first, bareName));
}

} // namespace

void InstallLoadTrap() {
    WriteRom(kLoadTrapAddress, 0xED, 0xFC, 0xC9);
}
void RemoveLoadTrap() {
    RestoreRomBytes(kLoadTrapAddress, 3);
}
void RemoveSaveTrap() {
    RestoreRomBytes(kSaveTrapAddress, 3);
}
void InstallSaveTrap() {
    WriteRom(kSaveTrapAddress, 0xED, 0xFD, 0xC9);
}

void InsertTapImage(std::vector<TapeBlock> blocks, const std::string& bareName) {
    Insert(std::move(blocks), false, bareName);
}

void InsertTzxImage(std::vector<TapeBlock> blocks, const std::string& bareName) {
    Insert(std::move(blocks), true, bareName);
}

void EjectTape() {
    if (tzxPlaying) StopTzxPlayback();
    tapeInDeck.reset();
    tapeFileName.clear();
    currentBlock = nullptr;
    // The pristine image holds what the ROM file has at 0x18A7 (F3 FD E5 on the Ace's
    // own ROM); a custom ROM gets its own bytes back too.
    RemoveLoadTrap();
}

void SelectBlock(TapeBlock* block) {
    blockStarted = false;
    if (block) {
        currentBlock = block;
        tapeAtEnd = false;
    } else if (tzxPlaying) {
        StopTzxPlayback(); // the end of the tape: stay on the last block
        tapeAtEnd = true;
    }
}

bool NoteRomListening() {
    const bool newLoad = !listenedThisFrame && !listenedLastFrame;
    listenedThisFrame = true;
    return newLoad;
}

void ForgetRomListening() {
    listenedThisFrame = listenedLastFrame = false;
}

void TapeFrameEnded() {
    listenedLastFrame = listenedThisFrame;
    listenedThisFrame = false;
}

void RomListensToTape() {
    if (!NoteRomListening()) return;
    if (tzxInserted) StartTzxPlayback();
    if (wavLoaded) StartWavPlayback();
}

void ResetTapeDeck() {
    EjectTape();
    if (tapSaveFile) std::fclose(tapSaveFile);
    tapSaveFile = nullptr;
    expectHeader = true;
    saveHeaderNext = true;
    tzxInserted = false;
    StopTzxPlayback();
    tapeAtEnd = false;
    ForgetRomListening();
    ResetWavDeck();
}

TapeInternals TapeInternalState() {
    return TapeSignalInternals(listenedThisFrame, listenedLastFrame);
}
