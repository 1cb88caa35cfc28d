#include "debugger/forth_views.h"

#include <cstdio>
#include <new>

#include "base/messages.h"
#include "debugger/debugger_text.h"
#include "debugger/system_variables.h"
#include "machine/machine_state.h"

namespace {

uint8_t RamByte(uint32_t address) {
    return machine.ram[address & 0xFFFF];
}
uint16_t RamWord(uint32_t address) {
    return uint16_t(RamByte(address) | RamByte(address + 1) << 8);
}

// True when [first, last] lies in the RAM that holds the dictionary.
bool InDictionaryRam(uint32_t first, uint32_t last) {
    return first >= kForthVocabularyName && first <= last && last <= machine.ramTop;
}

// Reads the header at `header` into `word`; false when it cannot be a sound header.
bool ReadHeader(uint16_t header, ForthWord& word) {
    if (!InDictionaryRam(header, uint32_t(header) + 2)) return false;
    word.header = header;
    word.nameLength = RamByte(header);
    const int length = word.nameLength & kNameLengthMask;
    // The name sits before the length and link fields: h - length - 4 .. h - 5.
    const uint32_t nameStart = uint32_t(header) - uint32_t(length) - 4;
    if (length == 0 || header < length + 4u || !InDictionaryRam(nameStart, header - 1)) return false;
    word.name.clear();
    for (int k = 0; k < length; ++k) {
        const uint8_t c = RamByte(nameStart + k);
        word.name += char(c & 0x7F);
        if (c & 0x80) break;
    }
    word.lengthField = RamWord(header - 4);
    word.link = RamWord(header - 2);
    word.codeField = RamWord(header + 1);
    return true;
}

// The newest word's header: the FORTH vocabulary word at 0x3C40 keeps it in its
// parameter field, 8 bytes after the last character of its name. 0 when not found.
uint16_t NewestWordHeader() {
    for (uint32_t a = kForthVocabularyName; a < kForthVocabularyName + kNameLengthMask; ++a) {
        if (a + 9 > machine.ramTop) return 0;
        if (RamByte(a) & 0x80) return RamWord(a + 8);
    }
    return 0;
}

} // namespace

std::vector<ForthWord> buildWordList() {
    std::vector<ForthWord> words;
    try {
        uint16_t header = NewestWordHeader();
        ForthWord word;
        while (words.size() < kMaxForthWords && ReadHeader(header, word)) {
            words.push_back(word);
            if (word.link == kRomDictionaryLink) break;
            // Every word links to an older one, lower in memory; anything else would loop.
            if (word.link >= header) break;
            header = word.link;
        }
    } catch (const std::bad_alloc&) {
        words.clear();
        ReportMessage(kCaptionError, kMsgWordListMemory);
    }
    return words;
}

std::string FormatWordListLine(const ForthWord& word) {
    char line[96];
    std::snprintf(line, sizeof line, "%-16s %04X", word.name.c_str(), word.link);
    return line;
}

std::vector<SystemVariableRow> SystemVariableRows() {
    std::vector<SystemVariableRow> rows;
    for (const SystemVariable& v : kSystemVariables) {
        char address[8];
        std::snprintf(address, sizeof address, "#%04X", v.address);
        std::string value;
        for (int k = 0; k < v.size; ++k) {
            char byte[8];
            std::snprintf(byte, sizeof byte, k == 0 ? "#%02X" : ", #%02X", RamByte(v.address + k));
            value += byte;
        }
        rows.push_back({v.name, address, value});
    }
    return rows;
}

std::string FormatSystemVariableRow(const SystemVariableRow& row) {
    char start[32];
    std::snprintf(start, sizeof start, "%-8s %s  ", row.name.c_str(), row.address.c_str());
    return start + row.value;
}

std::vector<std::string> PadRows() {
    std::vector<std::string> rows;
    for (int r = 0; r < kPadRows; ++r) {
        const uint32_t address = kPadStart + 16u * r;
        char text[96];
        int n = std::snprintf(text, sizeof text, "%04X   ", address);
        for (int k = 0; k < 16; ++k)
            n += std::snprintf(text + n, sizeof text - n, "%02X ", RamByte(address + k));
        text[n++] = ' ';
        for (int k = 0; k < 16; ++k) {
            const uint8_t c = RamByte(address + k);
            text[n++] = ShownCharacter(c);
        }
        rows.emplace_back(text, n);
    }
    return rows;
}
