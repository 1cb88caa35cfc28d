// The FORTH system as the Ace's ROM lays it out in RAM: the list of words in the RAM
// dictionary, the table of system variables and the PAD area. All three read the RAM
// block directly, by address, and change nothing.
//
// A word's header, in memory order: the name (the last character has bit 7 set), a
// 2-byte length field, a 2-byte link to the previous word's name-length byte, the
// name-length byte (bit 6 is the IMMEDIATE flag), a 2-byte code field, the parameter
// field. A word is addressed by its name-length byte.
//
//   std::vector<ForthWord> words = buildWordList();   // newest first
//   words[0].name == "CUBE", words[0].link == address of SQUARE's name-length byte
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ForthWord {
    std::string name;       // bit 7 of the last character removed
    uint16_t header = 0;    // address of the name-length byte
    uint8_t nameLength = 0; // the name-length byte as stored (flags included)
    uint16_t lengthField = 0;
    uint16_t link = 0;
    uint16_t codeField = 0;
};

constexpr uint16_t kForthVocabularyName = 0x3C40; // the FORTH word's header starts here
constexpr uint16_t kRomDictionaryLink = 0x1FFF;   // the oldest RAM word links here
constexpr uint8_t kImmediateFlag = 0x40;
constexpr uint8_t kNameLengthMask = 0x3F;
// More words than any RAM size holds: a walk that gets this far is going round a
// corrupt dictionary.
constexpr size_t kMaxForthWords = 8192;

// Walks the dictionary from the newest word to the oldest RAM word. The walk stops at the
// link into the ROM dictionary, and also at anything a sound dictionary never holds: a
// header outside 0x3C40..ramTop, a link that does not point backwards, a name that runs
// outside RAM or past its length. A half-built or corrupt dictionary therefore gives the
// words up to the fault. Out of memory reports code 8 and gives an empty list.
std::vector<ForthWord> buildWordList();
// "NAME             3C7A": the name and "%04X" of the link, as the debugger's pane shows.
std::string FormatWordListLine(const ForthWord& word);

// One row of the System Variables window.
struct SystemVariableRow {
    std::string name;    // "FRAMES"
    std::string address; // "#3C2B"
    std::string value;   // "#12, #34, #00, #00": one "#%02X" per byte of the variable
};
std::vector<SystemVariableRow> SystemVariableRows();
// "FRAMES   #3C2B  #12, #34, #00, #00"
std::string FormatSystemVariableRow(const SystemVariableRow& row);

// The PAD window: kPadRows rows of 16 bytes from 0x2700, each labelled with its own
// address, the bytes in hexadecimal and then as characters.
constexpr uint16_t kPadStart = 0x2700;
constexpr int kPadRows = 32;
std::vector<std::string> PadRows();
