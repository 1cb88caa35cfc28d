#include "debugger/forth_export.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/file_writer.h"
#include "debugger/forth_decompiler.h"
#include "debugger/forth_views.h"
#include "machine/machine_state.h"

namespace {

constexpr uint16_t kStackBottom = 0x3C37; // STKBOT: the dictionary ends here
constexpr size_t kBytesPerLine = 6;
// The ROM reads a line only after it has compiled the one before; a short line keeps
// that time below a spool character's.
constexpr size_t kLineWidth = 30;

uint16_t RamWord(uint32_t address) {
    return uint16_t(machine.ram[address & 0xFFFF] | machine.ram[(address + 1) & 0xFFFF] << 8);
}

bool Typable(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

// Wraps a line of LIST's layout at word boundaries, keeping its indentation. A string or
// a comment, always last on its line, is never broken.
void AppendWrapped(std::string& out, const std::string& line) {
    const size_t indent = line.find_first_not_of(' ');
    if (line.size() <= kLineWidth || indent == std::string::npos) {
        out += line + "\n";
        return;
    }
    size_t whole = std::min(line.find(".\" ", indent), line.find("( ", indent));
    if (whole != std::string::npos && whole > indent && line[whole - 1] != ' ') whole = std::string::npos;
    std::string current;
    for (size_t p = indent; p < line.size();) {
        size_t space = p == whole ? line.size() : line.find(' ', p);
        if (space == std::string::npos) space = line.size();
        const std::string token = line.substr(p, space - p);
        if (!current.empty() && current.size() + 1 + token.size() > kLineWidth) {
            out += current + "\n";
            current.clear();
        }
        current += current.empty() ? std::string(indent, ' ') + token : " " + token;
        p = space + 1;
    }
    if (!current.empty()) out += current + "\n";
}

// A store of one byte or cell at its address: the machine that types the text lays the
// dictionary out at the same addresses.
std::string Store(unsigned value, uint32_t address, bool byte) {
    return std::to_string(value) + " " + std::to_string(address) + (byte ? " C!\n" : " !\n");
}

uint32_t NameStart(const ForthWord& word) {
    return word.header - 4u - (word.nameLength & kNameLengthMask);
}

// " 200 C," for one byte, written at `to`; its length. A raw word may be thousands of them.
size_t FormatByteComma(char* to, uint8_t value) {
    size_t n = 0;
    to[n++] = ' ';
    if (value >= 100) to[n++] = char('0' + value / 100);
    if (value >= 10) to[n++] = char('0' + value / 10 % 10);
    to[n++] = char('0' + value % 10);
    std::memcpy(to + n, " C,", 3);
    return n + 3;
}

// `end` is where the next word's name starts: the raw bytes fill everything up to it.
void AppendRaw(std::string& out, const ForthWord& word, uint32_t end) {
    // A name no keyboard types is created with X in place of each such character, which
    // is then stored over it.
    std::string typed = word.name;
    for (char& c : typed)
        if (c <= 0x20 || c >= 0x7F) c = 'X';
    out += "( " + typed + ": raw bytes, no source text gives this word )\n";
    out += "CREATE " + typed + "\n";
    const uint32_t nameStart = NameStart(word);
    for (size_t k = 0; k < typed.size(); ++k)
        if (typed[k] != word.name[k]) out += Store(machine.ram[nameStart + k], nameStart + uint32_t(k), true);
    const uint32_t first = word.header + 3u;
    if (end < first || end > machine.ramTop + 1) end = first;
    char line[kBytesPerLine * 7 + 1];
    size_t used = 0, onLine = 0;
    for (uint32_t a = first; a < end; ++a) {
        used += FormatByteComma(line + used, machine.ram[a]);
        if (++onLine == kBytesPerLine || a + 1 == end) {
            line[used++] = '\n';
            out.append(line, used);
            used = onLine = 0;
        }
    }
    if (word.codeField != forth_rom::kCreate) out += Store(word.codeField, word.header + 1u, false);
}

} // namespace

std::string ExportForthSource(ForthExportCounts& counts) {
    counts = {};
    std::vector<ForthWord> words = buildWordList();
    // The list ends with the FORTH vocabulary word itself, which every machine has.
    if (!words.empty() && words.back().link == kRomDictionaryLink) words.pop_back();
    // Where each word's successor starts (the top of the dictionary for the newest).
    std::vector<uint32_t> nextStart(words.size(), RamWord(kStackBottom));
    for (size_t k = 1; k < words.size(); ++k)
        nextStart[k] = NameStart(words[k - 1]);
    std::string out;
    for (size_t k = words.size(); k-- > 0;) {
        const ForthWord& word = words[k];
        const std::vector<ForthWord> older(words.begin() + long(k) + 1, words.end());
        const ForthListing listing = DecompileWord(word, 10, &older);
        const bool immediate = word.nameLength & kImmediateFlag;
        // Source gives back the body only when the body fills the word's whole span.
        const uint32_t field = word.header - 4u;
        const bool wholeSpan = (word.lengthField ? field + word.lengthField : nextStart[k]) == nextStart[k];
        if (listing.ok() && listing.reproducible && wholeSpan && Typable(word.name)) {
            for (const std::string& line : listing.lines)
                AppendWrapped(out, line);
            if (immediate && word.codeField != 0x1108) out += "IMMEDIATE\n";
            ++counts.source;
        } else {
            AppendRaw(out, word, nextStart[k]);
            if (immediate) out += "IMMEDIATE\n";
            ++counts.raw;
        }
    }
    // The ROM fills in a word's length field when the next word starts, and leaves the
    // newest one's 0; a dictionary from tape, or one worked on by hand, may hold others.
    for (size_t k = words.size(); k-- > 0;) {
        const uint32_t field = words[k].header - 4u;
        const uint32_t natural = k == 0 ? 0 : nextStart[k] - field;
        if (words[k].lengthField != natural) out += Store(words[k].lengthField, field, false);
    }
    out += ForthExportSummary(counts) + "\n";
    return out;
}

bool WriteForthExport(const std::string& path, ForthExportCounts& counts, std::string& error) {
    return WriteWholeFile(path, ExportForthSource(counts), error);
}

std::string ForthExportSummary(const ForthExportCounts& counts) {
    return "( " + std::to_string(counts.source) + " words as source, " + std::to_string(counts.raw) +
           " as raw bytes )";
}
