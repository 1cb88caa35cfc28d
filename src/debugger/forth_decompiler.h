// FORTH source back out of the dictionary: a RAM word as the ROM's LIST shows it.
//
// A colon definition's body is a list of compilation addresses (the address of each
// word's code field). The ROM's compiling words (literals, strings, control structures,
// and any word made by COMPILER) compile the address of a small run-time header instead:
//
//   cfa-3: operand length in bytes (0xFF: a 2-byte count, then that many bytes)
//   cfa-2: offset from cfa to the last character of the compiling word's name
//          (0xFFFF for the two literals, whose operand is shown as a number)
//   cfa:   the code field
//
// A word's own name-length byte never has bit 7 set, the offset's high byte always does,
// so the byte before the code field tells the two apart, as LIST does.
//
//   ForthListing listing = DecompileWord(*FindRamWord("SQ"), 10);
//   listing.lines == {": SQ", " DUP *", ";"}
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "debugger/forth_views.h"

// Code fields of the ROM's kinds of word, and the run-time headers LIST knows by address.
namespace forth_rom {
constexpr uint16_t kColon = 0x0EC3;    // docolon: the body is a list of words
constexpr uint16_t kCreate = 0x0FEC;   // CREATE: pushes the parameter field address
constexpr uint16_t kDefiner = 0x1085;  // words made by DEFINER
constexpr uint16_t kCompiler = 0x1108; // words made by COMPILER
constexpr uint16_t kExit = 0x04B6;     // compiled by ;
constexpr uint16_t kLiteral = 0x1011;  // 2-byte integer
constexpr uint16_t kFloatLiteral = 0x1064;
constexpr uint16_t kAscii = 0x104B;    // 1-byte character, shown after ASCII
constexpr uint16_t kDotQuote = 0x1396; // ." text"
constexpr uint16_t kComment = 0x1379;  // ( text)
constexpr uint16_t kDoes = 0x10E8;     // DOES>, then a CALL into the child's code
constexpr uint16_t kRuns = 0x1140;     // RUNS>, then a run-time header
} // namespace forth_rom

struct ForthListing {
    std::vector<std::string> lines; // as LIST prints them, without trailing spaces
    std::string fault;              // set when the word cannot be listed
    // False when the text, compiled again, would not give the same bytes (a float or a
    // string no text can stand for, a structure out of order, a name that now finds
    // another word): the export then writes the word's bytes instead.
    bool reproducible = true;
    bool ok() const { return fault.empty(); }
};

// The newest RAM word of that name (exact, as the ROM matches), if any.
std::optional<ForthWord> FindRamWord(const std::string& name);

// Lists a colon, DEFINER or COMPILER word; integers are shown in `base` (2..36, as LIST
// uses BASE). Anything else, or a body that leaves RAM or has no end, gives a fault.
// With `older` (the words older than this one, newest first) each name is also checked to
// find the same word again when the text is compiled afresh.
ForthListing DecompileWord(const ForthWord& word, int base, const std::vector<ForthWord>* older = nullptr);

// The listing as --decompile prints it: the lines, or "NAME: fault".
std::string ListingText(const ForthWord& word, const ForthListing& listing);

// A 4-byte floating-point number as F. prints it ("1.5", ".0015", "-1.E9", "0.").
// False when the bytes are not a number the ROM makes (a digit above 9).
bool FormatAceFloat(const uint8_t bytes[4], std::string& text);

// The name of the word at a compilation address, ROM or RAM; a run-time header gives its
// compiling word's name (";" for EXIT, "IF" for ?branch), the literals "literal".
std::optional<std::string> ForthNameAt(uint16_t cfa);

// A number as the ROM's . prints it, signed, in `base` (2..36): "-3", "FF".
std::string ForthNumberText(int16_t value, int base);
// The digits of an unsigned value in `base`.
std::string DigitsInBase(unsigned value, int base);

// The system's BASE as LIST uses it (10 when it holds a value LIST cannot use).
int ForthBase();
