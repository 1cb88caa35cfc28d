#include "debugger/memory_tools.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/messages.h"
#include "base/number_text.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "machine/rom.h"
#include "tape/binary_files.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

const char* const kStackRegisterNames[kStackRegisterCount] = {"AF", "BC",  "DE",  "HL",  "IX",
                                                              "IY", "AF'", "BC'", "DE'", "HL'"};

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Hexadecimal digits only (after an optional "#" or "$"), at most `maxValue`.
std::optional<uint32_t> ReadHexField(const std::string& raw, uint32_t maxValue) {
    std::string text = Trimmed(raw);
    if (!text.empty() && (text[0] == '#' || text[0] == '$')) text.erase(0, 1);
    return ParseDigits(text, 16, maxValue);
}

uint16_t& RegisterWord(int index) {
    MachineState& m = machine;
    switch (index) {
    case 0: return m.af.w;
    case 1: return m.bc.w;
    case 2: return m.de.w;
    case 3: return m.hl.w;
    case 4: return m.ix.w;
    case 5: return m.iy.w;
    case 6: return m.afAlt.w;
    case 7: return m.bcAlt.w;
    case 8: return m.deAlt.w;
    default: return m.hlAlt.w;
    }
}

int StackRegisterIndex(const std::string& text) {
    const std::string name = Upper(Trimmed(text));
    for (int k = 0; k < kStackRegisterCount; ++k)
        if (name == kStackRegisterNames[k]) return k;
    return -1;
}

} // namespace

ToolResult ReportToolResult(ToolResult result) {
    if (result == ToolResult::BadNumber || result == ToolResult::BadRange)
        ReportMessage(kCaptionDebug, kMsgBadNumber);
    else if (result == ToolResult::NotFound)
        ReportMessage(kCaptionDebug, kMsgBytesNotFound);
    return result;
}

std::optional<uint16_t> ReadAddressField(const std::string& text) {
    const std::optional<uint32_t> value = ParseNumber(Trimmed(text), 0xFFFF);
    if (!value) return std::nullopt;
    return uint16_t(*value);
}

bool IsRamBlock(uint32_t start, uint32_t length) {
    return length > 0 && start >= kFirstRamAddress && start <= machine.ramTop &&
           length <= machine.ramTop - start + 1;
}

uint8_t DebugReadByte(uint32_t address) {
    if (address > machine.ramTop || address > 0xFFFF) return 0;
    const uint16_t a = address >= kFirstRamAddress ? FoldMirrors(uint16_t(address)) : uint16_t(address);
    return machine.pages[a >> 13][a & 0x1FFF];
}

void DebugWriteByte(uint32_t address, uint8_t value) {
    if (address > machine.ramTop || address > 0xFFFF) return;
    const uint16_t a = address >= kFirstRamAddress ? FoldMirrors(uint16_t(address)) : uint16_t(address);
    machine.pages[a >> 13][a & 0x1FFF] = value;
}

ToolResult CopyMemoryBlock(const std::string& sourceText, const std::string& destinationText,
                           const std::string& lengthText) {
    const std::optional<uint16_t> source = ReadAddressField(sourceText);
    const std::optional<uint16_t> destination = ReadAddressField(destinationText);
    const std::optional<uint16_t> length = ReadAddressField(lengthText);
    if (!source || !destination || !length) return ToolResult::BadNumber;
    if (!IsRamBlock(*destination, *length) || uint32_t(*source) + *length > machine.ramTop + 1u)
        return ToolResult::BadRange;
    // Read everything first: overlapping blocks copy as the source was.
    std::vector<uint8_t> bytes(*length);
    for (uint32_t k = 0; k < *length; ++k)
        bytes[k] = DebugReadByte(*source + k);
    for (uint32_t k = 0; k < *length; ++k)
        DebugWriteByte(*destination + k, bytes[k]);
    return ToolResult::Done;
}

ToolResult FillMemoryBlock(const std::string& startText, const std::string& lengthText,
                           const std::string& dataText, FillMode mode) {
    const std::optional<uint16_t> start = ReadAddressField(startText);
    const std::optional<uint16_t> length = ReadAddressField(lengthText);
    if (!start || !length) return ToolResult::BadNumber;
    std::vector<uint8_t> pattern;
    if (mode == FillMode::Text) {
        pattern.assign(dataText.begin(), dataText.end());
        if (pattern.empty()) return ToolResult::BadNumber;
    } else {
        const std::optional<uint16_t> value = ReadAddressField(dataText);
        if (!value || (mode == FillMode::Byte && *value > 0xFF)) return ToolResult::BadNumber;
        pattern.push_back(uint8_t(*value));
        if (mode == FillMode::Word) pattern.push_back(uint8_t(*value >> 8));
    }
    if (!IsRamBlock(*start, *length)) return ToolResult::BadRange;
    for (uint32_t k = 0; k < *length; ++k)
        DebugWriteByte(*start + k, pattern[k % pattern.size()]);
    return ToolResult::Done;
}

std::optional<std::vector<uint8_t>> FindPattern(const std::string& text, FindMode mode) {
    if (text.empty()) return std::nullopt;
    if (mode == FindMode::Text) return std::vector<uint8_t>(text.begin(), text.end());
    if (mode == FindMode::Word) {
        const std::optional<uint16_t> value = ReadAddressField(text);
        if (!value) return std::nullopt;
        return std::vector<uint8_t>{uint8_t(*value), uint8_t(*value >> 8)};
    }
    std::vector<uint8_t> bytes;
    size_t from = 0;
    for (;;) {
        const size_t comma = text.find(',', from);
        const std::optional<uint16_t> value = ReadAddressField(text.substr(from, comma - from));
        if (!value || *value > 0xFF) return std::nullopt;
        bytes.push_back(uint8_t(*value));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return bytes;
}

std::optional<uint32_t> FindInMemory(const std::vector<uint8_t>& pattern, uint32_t from) {
    const uint32_t end = machine.ramTop + 1;
    if (pattern.empty() || pattern.size() > end) return std::nullopt;
    for (uint32_t a = from; a + pattern.size() <= end; ++a) {
        // A mirror shows the same bytes as the RAM it folds onto: report the real address.
        if (a >= kFirstRamAddress && FoldMirrors(uint16_t(a)) != a) continue;
        size_t k = 0;
        while (k < pattern.size() && DebugReadByte(a + uint32_t(k)) == pattern[k])
            ++k;
        if (k == pattern.size()) return a;
    }
    return std::nullopt;
}

uint16_t StackRegisterValue(int index) {
    return RegisterWord(index);
}

void SetStackRegister(int index, uint16_t value) {
    RegisterWord(index) = value;
}

void PushValue(uint16_t value) {
    MachineState& m = machine;
    WriteMemory(--m.sp, uint8_t(value >> 8));
    WriteMemory(--m.sp, uint8_t(value));
}

ToolResult PushText(const std::string& text) {
    const int index = StackRegisterIndex(text);
    if (index >= 0) {
        PushValue(StackRegisterValue(index));
        return ToolResult::Done;
    }
    const std::optional<uint16_t> value = ReadAddressField(text);
    if (!value) return ToolResult::BadNumber;
    PushValue(*value);
    return ToolResult::Done;
}

ToolResult PopText(const std::string& text) {
    const int index = StackRegisterIndex(text);
    if (index < 0) return ToolResult::BadNumber;
    MachineState& m = machine;
    const uint8_t low = ReadMemory(m.sp);
    const uint8_t high = ReadMemory(uint16_t(m.sp + 1));
    m.sp = uint16_t(m.sp + 2);
    SetStackRegister(index, uint16_t(high << 8 | low));
    return ToolResult::Done;
}

RegisterFields CurrentRegisterFields() {
    const MachineState& m = machine;
    auto word = [](uint16_t v) {
        char text[8];
        std::snprintf(text, sizeof text, "%04X", v);
        return std::string(text);
    };
    auto byte = [](uint8_t v) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X", v);
        return std::string(text);
    };
    RegisterFields f;
    f.pc = word(m.pc), f.sp = word(m.sp), f.af = word(m.af.w), f.bc = word(m.bc.w), f.de = word(m.de.w);
    f.hl = word(m.hl.w), f.ix = word(m.ix.w), f.iy = word(m.iy.w);
    f.afAlt = word(m.afAlt.w), f.bcAlt = word(m.bcAlt.w), f.deAlt = word(m.deAlt.w),
    f.hlAlt = word(m.hlAlt.w);
    f.i = byte(m.i);
    // R as the program sees it: bit 7 comes from the last LD R,A.
    f.r = byte(uint8_t((m.r & 0x7F) | (m.r7 & 0x80)));
    for (int b = 0; b < 8; ++b)
        f.flags[b] = m.af.lo & (0x80 >> b);
    return f;
}

std::string ApplyRegisterFields(const RegisterFields& f) {
    struct Field {
        const char* name;
        const std::string* text;
        uint32_t max;
        uint32_t value;
    };
    Field fields[] = {
        {"PC", &f.pc, 0xFFFF, 0},     {"SP", &f.sp, 0xFFFF, 0},     {"AF", &f.af, 0xFFFF, 0},
        {"BC", &f.bc, 0xFFFF, 0},     {"DE", &f.de, 0xFFFF, 0},     {"HL", &f.hl, 0xFFFF, 0},
        {"IX", &f.ix, 0xFFFF, 0},     {"IY", &f.iy, 0xFFFF, 0},     {"AF'", &f.afAlt, 0xFFFF, 0},
        {"BC'", &f.bcAlt, 0xFFFF, 0}, {"DE'", &f.deAlt, 0xFFFF, 0}, {"HL'", &f.hlAlt, 0xFFFF, 0},
        {"I", &f.i, 0xFF, 0},         {"R", &f.r, 0xFF, 0}};
    for (Field& field : fields) {
        const std::optional<uint32_t> value = ReadHexField(*field.text, field.max);
        if (!value) return field.name;
        field.value = *value;
    }
    MachineState& m = machine;
    const uint16_t newPc = uint16_t(fields[0].value);
    // A HALT waits at its own address; moving PC away must let the processor run on.
    if (newPc != m.pc) m.halted = 0;
    m.pc = newPc;
    m.sp = uint16_t(fields[1].value);
    m.af.w = uint16_t(fields[2].value);
    m.bc.w = uint16_t(fields[3].value);
    m.de.w = uint16_t(fields[4].value);
    m.hl.w = uint16_t(fields[5].value);
    m.ix.w = uint16_t(fields[6].value);
    m.iy.w = uint16_t(fields[7].value);
    m.afAlt.w = uint16_t(fields[8].value);
    m.bcAlt.w = uint16_t(fields[9].value);
    m.deAlt.w = uint16_t(fields[10].value);
    m.hlAlt.w = uint16_t(fields[11].value);
    m.i = uint8_t(fields[12].value);
    m.r = uint8_t(fields[13].value);
    m.r7 = uint8_t(fields[13].value & 0x80); // the refresh counter never changes bit 7 itself
    uint8_t flags = 0;
    for (int b = 0; b < 8; ++b)
        if (f.flags[b]) flags |= uint8_t(0x80 >> b);
    m.af.lo = flags;
    return {};
}

void RestoreRom() {
    RestoreRomBytes(0, int(kRomSize));
    BuildPageTable(); // plants the save trap again
    if (recording || recordArmed) RemoveSaveTrap();
    if (TapeInDeck() && !tzxInserted) InstallLoadTrap();
}
