#include "tape/tape_deck.h"

#include "machine/machine_state.h"
#include "machine/rom.h"
#include "tape/spool.h"
#include "tape/tape_header.h"
#include "tape/wav_deck.h"

TapeDeckState tapeDeck;

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

bool TapeInDeck() {
    return tapeDeck.tapeInDeck != nullptr;
}

std::string DeckContents() {
    std::string text;
    if (tapeDeck.tapeInDeck)
        text = tapeDeck.tapeFileName + (tapeDeck.tapeInDeck->isTzx ? " (TZX)" : " (TAP)");
    if (wavLoaded) text += (text.empty() ? "" : ", ") + wavDeck.wavDisplayName + " (WAV)";
    return text;
}

namespace {

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
    tapeDeck.tapeInDeck = std::make_unique<TapeImage>(std::move(blocks), tzx);
    tapeDeck.currentBlock = tapeDeck.tapeInDeck->first();
    tapeDeck.tapeAtEnd = false;
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
    tapeDeck.tapeInDeck.reset();
    tapeDeck.tapeFileName.clear();
    tapeDeck.currentBlock = nullptr;
    // The pristine image holds what the ROM file has at 0x18A7 (F3 FD E5 on the Ace's
    // own ROM); a custom ROM gets its own bytes back too.
    RemoveLoadTrap();
}

void SelectBlock(TapeBlock* block) {
    tapeDeck.blockStarted = false;
    if (block) {
        tapeDeck.currentBlock = block;
        tapeDeck.tapeAtEnd = false;
    } else if (tzxPlaying) {
        StopTzxPlayback(); // the end of the tape: stay on the last block
        tapeDeck.tapeAtEnd = true;
    }
}

bool NoteRomListening() {
    const bool newLoad = !tapeDeck.listenedThisFrame && !tapeDeck.listenedLastFrame;
    tapeDeck.listenedThisFrame = true;
    return newLoad;
}

void ForgetRomListening() {
    tapeDeck.listenedThisFrame = tapeDeck.listenedLastFrame = false;
}

void TapeFrameEnded() {
    tapeDeck.listenedLastFrame = tapeDeck.listenedThisFrame;
    tapeDeck.listenedThisFrame = false;
}

void RomListensToTape() {
    if (!NoteRomListening()) return;
    if (tzxInserted) StartTzxPlayback();
    if (wavLoaded) StartWavPlayback();
}

void TapeDeckState::Reset() {
    EjectTape();
    FinishTapSave();
    ResetTzxSignal();
    *this = TapeDeckState{};
    tzxInserted = tzxPlaying = false;
    wavDeck.Reset();
}
