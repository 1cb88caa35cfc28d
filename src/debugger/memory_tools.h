// The debugger's editing tools: copy and fill a block, find bytes or text, push and pop,
// the register editor's fields, and putting the ROM back. The dialogs only collect text
// and show the outcome; every check and every write happens here.
//
// Number fields read "#" or "$" and hexadecimal digits, or decimal digits. Anything else
// (empty, letters, signs, more than 16 bits) is refused with message 82, and so is a
// block that does not lie wholly within the machine's RAM (0x2000..ramTop): a refused
// request writes nothing.
//
//   CopyMemoryBlock("#3C40", "#8000", "256");  // Done on the 51K machine
//   FillMemoryBlock("#4000", "-1", "0", FillMode::Byte) == ToolResult::BadNumber
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ToolResult { Done, BadNumber, BadRange, NotFound };

// Message code for bad numbers and ranges ("Debugger: Not a number or number out of
// range") and for a failed search ("Debugger: Can't find byte(s)").
constexpr uint32_t kFirstRamAddress = 0x2000;

// Shows the message that goes with a refused request (nothing for Done); returns `result`.
ToolResult ReportToolResult(ToolResult result);

// A number field; nullopt for anything but a number of at most 16 bits.
std::optional<uint16_t> ReadAddressField(const std::string& text);
// True when [start, start + length) is non-empty and lies within 0x2000..ramTop.
bool IsRamBlock(uint32_t start, uint32_t length);

// Copy Memory: Length bytes from Source to Destination, as a move (overlapping blocks
// come out as the source was). The source may be in ROM; the destination must be RAM.
ToolResult CopyMemoryBlock(const std::string& sourceText, const std::string& destinationText,
                           const std::string& lengthText);

enum class FillMode { Byte = 1, Word = 2, Text = 3 };
// Fill Memory: exactly Length bytes from Start, with the byte, the 16-bit value (low byte
// first; an odd length ends with a low byte) or the text repeated.
ToolResult FillMemoryBlock(const std::string& startText, const std::string& lengthText,
                           const std::string& dataText, FillMode mode);

enum class FindMode { Word = 1, Bytes = 2, Text = 3 };
// The bytes a Find text stands for: a 16-bit value low byte first, comma-separated bytes,
// or the characters as typed. nullopt when the text is empty or not valid for the mode.
std::optional<std::vector<uint8_t>> FindPattern(const std::string& text, FindMode mode);
// The first address from `from` on where `pattern` lies wholly within 0..ramTop, read as
// the debugger reads memory (ROM below 0x2000); matches that start in a mirror of video
// or user RAM are skipped, since the real address holds the same bytes.
std::optional<uint32_t> FindInMemory(const std::vector<uint8_t>& pattern, uint32_t from);

// The memory the debugger's tools show and edit: the ROM below 0x2000 and RAM up to
// ramTop, with the video and user RAM mirrors folded onto the real bytes. Addresses past
// ramTop read 0 and are never written.
uint8_t DebugReadByte(uint32_t address);
void DebugWriteByte(uint32_t address, uint8_t value);

// PUSH and POP. The registers by index: AF, BC, DE, HL, IX, IY, AF', BC', DE', HL'.
constexpr int kStackRegisterCount = 10;
extern const char* const kStackRegisterNames[kStackRegisterCount];
uint16_t StackRegisterValue(int index);
void SetStackRegister(int index, uint16_t value);
// `text` is a register name (its value is pushed) or a number up to FFFF.
ToolResult PushText(const std::string& text);
void PushValue(uint16_t value);
// Pops into the named register; BadNumber when `text` names none.
ToolResult PopText(const std::string& text);

// The register editor's fields as it shows them: 16-bit registers as "%04X", I and R as
// "%02X", and F as eight flags, bit 7 first.
struct RegisterFields {
    std::string pc, sp, af, bc, de, hl, ix, iy, afAlt, bcAlt, deAlt, hlAlt, i, r;
    bool flags[8] = {}; // S, Z, 5, H, 3, P, N, C
};
RegisterFields CurrentRegisterFields();
// Stores every field, F from the flags. Each field must be hexadecimal (a "#" or "$" in
// front is allowed) and fit its register; otherwise nothing is stored and the name of
// the first bad field comes back ("PC", "I"...). Setting PC wakes a halted processor.
std::string ApplyRegisterFields(const RegisterFields& fields);

// Restore ROM: the ROM image as read from its file, with the emulator's traps planted
// again (the save trap, and the load trap while a TAP tape is in the deck).
void RestoreRom();
