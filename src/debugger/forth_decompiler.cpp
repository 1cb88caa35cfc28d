#include "debugger/forth_decompiler.h"

#include <cstdio>

#include "machine/machine_state.h"

namespace {

constexpr uint16_t kRomEnd = 0x2000;
constexpr uint16_t kBaseVariable = 0x3C3F;
constexpr uint16_t kDictionaryTop = 0x3C37; // STKBOT: the first byte past the newest word

// The dictionary lives in the ROM and in RAM from the system variables up; the screen and
// character memory between never hold a word.
bool Readable(uint32_t address) {
    return (address < kRomEnd && machine.rom) || (address >= 0x3C00 && address <= machine.ramTop);
}
bool Readable(uint32_t first, uint32_t count) {
    return count == 0 || (Readable(first) && Readable(first + count - 1) && (first < kRomEnd) == (first + count - 1 < kRomEnd));
}
// The ROM's words are read from the ROM image, RAM words from RAM.
uint8_t Byte(uint32_t address) {
    address &= 0xFFFF;
    if (address < kRomEnd) return machine.rom ? machine.rom[address] : 0;
    return machine.ram[address];
}
uint16_t Word(uint32_t address) {
    return uint16_t(Byte(address) | Byte(address + 1) << 8);
}

// A name whose last character is at `last` and whose name-length byte is `lengthByte`.
std::optional<std::string> NameEndingAt(uint32_t last, uint8_t lengthByte) {
    const int length = lengthByte & kNameLengthMask;
    if (length == 0 || last < uint32_t(length) || !Readable(last - length + 1, length)) return std::nullopt;
    if (!(Byte(last) & 0x80)) return std::nullopt;
    std::string name;
    for (uint32_t a = last - length + 1; a <= last; ++a) {
        if (a != last && (Byte(a) & 0x80)) return std::nullopt;
        name += char(Byte(a) & 0x7F);
    }
    return name;
}

// ROM headers have no length field: the link follows the name directly.
uint32_t NameGap(uint32_t address) {
    return address < kRomEnd ? 3 : 5;
}

// The name of an ordinary word from its compilation address.
std::optional<std::string> WordName(uint16_t cfa) {
    if (cfa < 1 + 5 || !Readable(cfa - 1)) return std::nullopt;
    const uint8_t lengthByte = Byte(cfa - 1);
    if (lengthByte & 0x80) return std::nullopt;
    return NameEndingAt(cfa - 1 - NameGap(cfa), lengthByte);
}

// The compiling word's name from a run-time header: cfa + offset is one past the name's
// first character, and the name runs to the character with bit 7 set.
std::optional<std::string> CompilingWordName(uint16_t cfa) {
    const uint32_t first = uint16_t(cfa + Word(cfa - 2) - 1);
    std::string name;
    for (uint32_t a = first; a < first + kNameLengthMask; ++a) {
        if (!Readable(a)) return std::nullopt;
        name += char(Byte(a) & 0x7F);
        if (Byte(a) & 0x80) return name;
    }
    return std::nullopt;
}

bool PlainText(uint32_t first, uint32_t count, char terminator) {
    for (uint32_t a = first; a < first + count; ++a)
        if (Byte(a) < 0x20 || Byte(a) > 0x7E || Byte(a) == uint8_t(terminator)) return false;
    return true;
}

std::string TextAt(uint32_t first, uint32_t count) {
    std::string text;
    for (uint32_t a = first; a < first + count; ++a)
        text += char(Byte(a) & 0x7F);
    return text;
}

enum class Control { None, Opens, Middle, Closes };

struct ControlWord {
    uint16_t cfa;
    Control kind;
    char pairsWith; // the opener's letter this word belongs to: I(F), B(EGIN), D(O)
};

constexpr ControlWord kControlWords[] = {
    {0x1283, Control::Opens, 'I'},  {0x1271, Control::Middle, 'I'}, {0x12A4, Control::Closes, 'I'},
    {0x129F, Control::Opens, 'B'},  {0x128D, Control::Closes, 'B'}, {0x1288, Control::Middle, 'W'},
    {0x1276, Control::Closes, 'W'}, {0x1323, Control::Opens, 'D'},  {0x1332, Control::Closes, 'D'},
    {0x133C, Control::Closes, 'D'},
};

const ControlWord* ControlWordAt(uint16_t cfa) {
    for (const ControlWord& c : kControlWords)
        if (c.cfa == cfa) return &c;
    return nullptr;
}

// LIST's layout: words on a line indented by the nesting depth; control words, strings and
// comments on lines of their own.
class Layout {
  public:
    void Add(const std::string& token) {
        if (current_.empty())
            current_ = std::string(size_t(depth_), ' ') + token;
        else
            current_ += " " + token;
    }
    void Alone(const std::string& token, int depth) {
        Flush();
        lines_.push_back(std::string(size_t(depth < 0 ? 0 : depth), ' ') + token);
    }
    void Control(const std::string& token, Control kind) {
        if (kind == Control::Opens) {
            Alone(token, depth_++);
        } else if (kind == Control::Middle) {
            Alone(token, depth_ - 1);
        } else {
            if (depth_ > 1) --depth_;
            Alone(token, depth_);
        }
    }
    void EndLine() { Flush(); }
    void StartPart() { depth_ = 1; }
    std::vector<std::string> Take() {
        Flush();
        return std::move(lines_);
    }

  private:
    void Flush() {
        if (!current_.empty()) lines_.push_back(current_);
        current_.clear();
    }
    std::vector<std::string> lines_;
    std::string current_;
    int depth_ = 1;
};

// Checks the order of control words as the compiler would have accepted them.
class StructureCheck {
  public:
    void See(const ControlWord& c) {
        if (c.kind == Control::Opens) {
            open_.push_back(c.pairsWith);
        } else if (c.pairsWith == 'W' && c.kind == Control::Middle) {
            if (open_.empty() || open_.back() != 'B') sound_ = false;
            else open_.back() = 'W';
        } else if (c.kind == Control::Middle) {
            if (open_.empty() || open_.back() != 'I') sound_ = false;
            else open_.back() = 'E';
        } else {
            const char top = open_.empty() ? 0 : open_.back();
            const bool fits = c.pairsWith == 'I' ? (top == 'I' || top == 'E') : top == c.pairsWith;
            if (!fits) sound_ = false;
            if (!open_.empty()) open_.pop_back();
        }
    }
    bool Sound() const { return sound_ && open_.empty(); }

  private:
    std::vector<char> open_;
    bool sound_ = true;
};

struct Decoder {
    const ForthWord& word;
    int base;
    const std::vector<ForthWord>* older;
    ForthListing listing;
    Layout layout;
    StructureCheck structure;
    int compilerCount = 0;

    // A name compiled again finds the newest older word of that name, or the ROM's.
    void CheckFinds(const std::string& name, uint16_t cfa) {
        if (!older) return;
        // The word being compiled is found by its own name already.
        if (name == word.name) {
            if (uint16_t(word.header + 1) != cfa) listing.reproducible = false;
            return;
        }
        for (const ForthWord& w : *older)
            if (w.name == name) {
                if (uint16_t(w.header + 1) != cfa) listing.reproducible = false;
                return;
            }
        if (cfa >= kRomEnd) listing.reproducible = false;
    }

    // One run-time header item at `p` (its cfa already read); returns the next item's
    // address, or 0 with a fault.
    uint32_t RunTime(uint32_t p, uint16_t cfa, uint32_t end) {
        uint32_t operand = p + 2;
        uint32_t count = Byte(cfa - 3);
        if (count == 0xFF) {
            if (operand + 2 > end) return Fault(p, "its string runs past the end of the word");
            count = Word(operand);
            operand += 2;
        }
        if (operand + count > end) return Fault(p, "its operand runs past the end of the word");
        using namespace forth_rom;
        if (cfa == kLiteral && count == 2) {
            layout.Add(ForthNumberText(int16_t(Word(operand)), base));
        } else if (cfa == kFloatLiteral && count == 4) {
            uint8_t bytes[4] = {Byte(operand), Byte(operand + 1), Byte(operand + 2), Byte(operand + 3)};
            std::string text;
            if (!FormatAceFloat(bytes, text)) listing.reproducible = false;
            layout.Add(text);
        } else if (cfa == kAscii && count == 1) {
            const uint8_t c = Byte(operand);
            if (c <= 0x20 || c > 0x7E) listing.reproducible = false;
            layout.Add(std::string("ASCII ") + char(c & 0x7F));
        } else if (cfa == kDotQuote || cfa == kComment) {
            const bool quote = cfa == kDotQuote;
            if (!PlainText(operand, count, quote ? '"' : ')')) listing.reproducible = false;
            // LIST ends the line after a string or a comment.
            layout.Add((quote ? ".\" " : "( ") + TextAt(operand, count) + (quote ? "\"" : ")"));
            layout.EndLine();
        } else if (cfa == kDoes || cfa == kRuns) {
            if (cfa == kRuns && count >= 1) compilerCount = int8_t(Byte(operand));
            layout.Alone(cfa == kDoes ? "DOES>" : "RUNS>", 0);
            layout.StartPart();
        } else {
            const std::optional<std::string> name = CompilingWordName(cfa);
            if (!name) return Fault(p, "it is not a word");
            if (const ControlWord* c = ControlWordAt(cfa)) {
                structure.See(*c);
                layout.Control(*name, c->kind);
            } else {
                // A word made by COMPILER: LIST shows its name alone, not the operand
                // its compiling part laid down, so the text cannot give the operand back.
                layout.Add(*name);
                if (cfa < kRomEnd || count > 0) listing.reproducible = false;
            }
        }
        return operand + count;
    }

    uint32_t Fault(uint32_t p, const char* why) {
        char text[96];
        std::snprintf(text, sizeof text, "the item at %04X cannot be listed: %s", unsigned(p), why);
        listing.reproducible = false;
        listing.fault = text;
        return 0;
    }
};

} // namespace

std::optional<std::string> ForthNameAt(uint16_t cfa) {
    if (cfa >= 3 && Readable(cfa - 3, 3) && (Byte(cfa - 1) & 0x80)) {
        if (cfa == forth_rom::kLiteral || cfa == forth_rom::kFloatLiteral) return "literal";
        return CompilingWordName(cfa);
    }
    return WordName(cfa);
}

std::string DigitsInBase(unsigned value, int base) {
    std::string digits;
    do {
        const unsigned d = value % unsigned(base);
        digits.insert(digits.begin(), char(d < 10 ? '0' + d : 'A' + d - 10));
        value /= unsigned(base);
    } while (value);
    return digits;
}

std::string ForthNumberText(int16_t value, int base) {
    return value < 0 ? "-" + DigitsInBase(unsigned(-int(value)), base) : DigitsInBase(unsigned(value), base);
}

int ForthBase() {
    const int base = Byte(kBaseVariable);
    return base >= 2 && base <= 36 ? base : 10;
}

bool FormatAceFloat(const uint8_t bytes[4], std::string& text) {
    int digits[6];
    bool valid = true;
    for (int k = 0; k < 3; ++k) {
        digits[2 * k] = bytes[2 - k] >> 4;
        digits[2 * k + 1] = bytes[2 - k] & 0x0F;
    }
    for (int& d : digits)
        if (d > 9) {
            valid = false;
            d = 9;
        }
    const bool negative = bytes[3] & 0x80;
    int significant = 6;
    while (significant > 0 && digits[significant - 1] == 0)
        --significant;
    if (significant == 0) {
        text = "0.";
        return valid && bytes[3] == 0;
    }
    if (digits[0] == 0) valid = false; // the ROM keeps the first digit non-zero
    std::string d;
    for (int k = 0; k < significant; ++k)
        d += char('0' + digits[k]);
    const int exponent = (bytes[3] & 0x7F) - 0x40 - 1; // value = d.ddddd * 10^exponent
    if (exponent >= 0 && exponent <= 8) {
        while (int(d.size()) < exponent + 1)
            d += '0';
        text = d.substr(0, size_t(exponent) + 1) + "." + d.substr(size_t(exponent) + 1);
    } else if (exponent < 0 && exponent >= -4) {
        text = "." + std::string(size_t(-exponent - 1), '0') + d;
    } else {
        text = d.substr(0, 1) + "." + d.substr(1) + "E" + std::to_string(exponent);
    }
    if (negative) text = "-" + text;
    return valid;
}

std::optional<ForthWord> FindRamWord(const std::string& name) {
    for (const ForthWord& word : buildWordList())
        if (word.name == name) return word;
    return std::nullopt;
}

ForthListing DecompileWord(const ForthWord& word, int base, const std::vector<ForthWord>* older) {
    using namespace forth_rom;
    Decoder d{word, base, older, {}, {}, {}, 0};
    const uint16_t code = word.codeField;
    if (code != kColon && code != kDefiner && code != kCompiler) {
        d.listing.fault = "LIST shows only colon, DEFINER and COMPILER words";
        return d.listing;
    }
    const uint32_t header = word.header;
    uint32_t p = header + 3;
    // The length field counts from itself to the word's end. The ROM fills it in when the
    // next word starts, so the newest word's is 0; a 0 anywhere else leaves the end marker
    // alone to go by.
    uint32_t end = header - 4 + word.lengthField;
    if (word.lengthField == 0) end = Word(kDictionaryTop); // the newest word ends at the top
    const bool lengthKnown = end > p && end <= machine.ramTop + 1;
    if (!lengthKnown) {
        end = machine.ramTop + 1;
        d.listing.reproducible = false;
    }
    const bool byMarker = word.lengthField == 0 || !lengthKnown;
    if (code != kColon) p += 2; // the address of the DOES> or RUNS> part
    bool ended = false;
    while (p + 2 <= end && !ended) {
        if (!Readable(p, 2)) return d.Fault(p, "it is outside RAM"), d.listing;
        const uint16_t cfa = Word(p);
        if (cfa == kExit && (byMarker || p + 2 == end)) {
            d.layout.Alone(";", 0);
            // Only the newest word may end short of its span: its end is the top.
            if (p + 2 != end) d.listing.reproducible = false;
            p += 2;
            ended = true;
            break;
        }
        if (!Readable(cfa) || cfa < 6 || !Readable(cfa - 3, 3)) return d.Fault(p, "it is not a word"), d.listing;
        if (Byte(cfa - 1) & 0x80) {
            p = d.RunTime(p, cfa, end);
            if (p == 0) return d.listing;
            continue;
        }
        const std::optional<std::string> name = WordName(cfa);
        if (!name) return d.Fault(p, "it is not a word"), d.listing;
        d.CheckFinds(*name, cfa);
        d.layout.Add(*name);
        p += 2;
    }
    if (!ended) {
        d.listing.fault = "the word has no end marker (;)";
        d.listing.reproducible = false;
        return d.listing;
    }
    if (!d.structure.Sound()) d.listing.reproducible = false;
    std::vector<std::string> lines = d.layout.Take();
    const std::string head = code == kColon     ? ": " + word.name
                             : code == kDefiner ? "DEFINER " + word.name
                                                : std::to_string(d.compilerCount) + " COMPILER " + word.name;
    lines.insert(lines.begin(), head);
    d.listing.lines = std::move(lines);
    return d.listing;
}

std::string ListingText(const ForthWord& word, const ForthListing& listing) {
    if (!listing.ok()) return word.name + ": " + listing.fault + "\n";
    std::string text;
    for (const std::string& line : listing.lines)
        text += line + "\n";
    return text;
}
