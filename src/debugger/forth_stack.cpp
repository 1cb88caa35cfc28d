#include "debugger/forth_stack.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "debugger/forth_decompiler.h"
#include "debugger/forth_views.h"
#include "machine/machine_state.h"

namespace {

constexpr uint16_t kRamTopVariable = 0x3C18;
constexpr uint16_t kStackBottom = 0x3C37;
constexpr uint16_t kStackTop = 0x3C3B; // SPARE
constexpr int kStackGap = 12;

uint16_t RamWord(uint32_t address) {
    return uint16_t(machine.ram[address & 0xFFFF] | machine.ram[(address + 1) & 0xFFFF] << 8);
}

// The ROM's words by compilation address. Its chain starts at 1FFF (where the oldest RAM
// word links), runs in no address order and ends at link 0; ROM words have no length
// field, so a body is taken to run up to the next word.
std::vector<std::pair<uint16_t, std::string>> RomWordsByAddress() {
    std::vector<std::pair<uint16_t, std::string>> words;
    if (!machine.rom) return words;
    std::set<uint16_t> seen;
    for (uint16_t h = kRomDictionaryLink; h > 3 && h < 0x2000 && seen.insert(h).second;
         h = uint16_t(machine.rom[h - 2] | machine.rom[h - 1] << 8))
        if (std::optional<std::string> name = ForthNameAt(uint16_t(h + 1))) words.push_back({uint16_t(h + 1), *name});
    std::sort(words.begin(), words.end());
    return words;
}

// Names a return address in a ROM word's body.
void NameRomAddress(const std::vector<std::pair<uint16_t, std::string>>& romWords, ReturnStackEntry& entry) {
    auto after = std::upper_bound(romWords.begin(), romWords.end(), std::make_pair(entry.value, std::string()));
    if (after == romWords.begin()) return;
    const auto& [cfa, name] = *std::prev(after);
    if (entry.value < cfa + 2u) return;
    entry.word = name;
    entry.offset = uint16_t(entry.value - cfa - 2);
}

} // namespace

ForthDataStack ReadForthDataStack() {
    ForthDataStack stack;
    const int first = RamWord(kStackBottom) + kStackGap;
    const int top = RamWord(kStackTop);
    stack.depth = (top - first) / 2;
    for (int k = 1; k <= stack.depth && k <= kMaxShownCells; ++k) {
        const int address = top - 2 * k;
        if (address < 0x3C00 || address + 1 > int(machine.ramTop)) break;
        stack.cells.push_back(RamWord(uint32_t(address)));
    }
    return stack;
}

std::string FormatForthDataStack(const ForthDataStack& stack, int base) {
    std::string text = "depth " + std::to_string(stack.depth);
    if (stack.cells.empty()) return text;
    text += ":";
    for (uint16_t cell : stack.cells)
        text += " " + ForthNumberText(int16_t(cell), base);
    if (int(stack.cells.size()) < stack.depth) text += " ...";
    return text;
}

std::string FormatStackCell(uint16_t value, int base) {
    const std::string prefix = base == 16 ? "#" : "";
    const std::string sign = int16_t(value) < 0 ? "-" : "";
    return sign + prefix + ForthNumberText(int16_t(value), base).substr(sign.size()) + "  " + prefix +
           DigitsInBase(value, base);
}

std::vector<ReturnStackEntry> ReadForthReturnStack() {
    std::vector<ReturnStackEntry> entries;
    const std::vector<ForthWord> words = buildWordList();
    const std::vector<std::pair<uint16_t, std::string>> romWords = RomWordsByAddress();
    uint32_t top = RamWord(kRamTopVariable);
    if (top > machine.ramTop + 1u) top = machine.ramTop + 1u;
    for (uint32_t sp = machine.sp; sp + 1 < top && entries.size() < size_t(kMaxShownCells); sp += 2) {
        ReturnStackEntry entry;
        entry.stackAddress = uint16_t(sp);
        entry.value = RamWord(sp);
        // Words lie in memory oldest first: the body holding the address is that of the
        // newest word whose parameter field starts at or below it.
        for (const ForthWord& w : words) {
            const uint32_t body = w.header + 3u;
            // After the last item the address is the body's end itself.
            if (entry.value >= body && (w.lengthField == 0 || entry.value <= w.header - 4u + w.lengthField)) {
                entry.word = w.name;
                entry.offset = uint16_t(entry.value - body);
                break;
            }
            if (entry.value >= w.header) break;
        }
        if (entry.word.empty() && entry.value < 0x2000) NameRomAddress(romWords, entry);
        entries.push_back(entry);
    }
    return entries;
}

std::string FormatReturnStackEntry(const ReturnStackEntry& entry) {
    char text[80];
    std::snprintf(text, sizeof text, "%04X  %04X", entry.stackAddress, entry.value);
    std::string line = text;
    if (!entry.word.empty()) line += "  " + entry.word + "+" + std::to_string(entry.offset);
    return line;
}
