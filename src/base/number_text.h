// Numbers as the user types them into an address, value or length field, read one way
// everywhere: "#" or "$" then hexadecimal digits (either case), or decimal digits;
// "0x" as a hexadecimal prefix too where the field says so (the command line, Go to
// Address). Nothing else: no sign, no space, no empty text, nothing above `max`.
//
//   ParseNumber("#3C00") == 0x3C00      ParseNumber("$ff") == 255
//   ParseNumber("16384") == 16384       ParseNumber("4k") == nullopt
//   ParseNumber("0x3C00") == nullopt    ParseNumber("0x3C00", 0xFFFF, kHexPrefix0x) == 0x3C00
//   ParseNumber("65536", 0xFFFF) == nullopt
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum HexPrefixes : uint8_t {
    kHexPrefixHashOrDollar = 0, // "#" and "$"
    kHexPrefix0x = 1,           // "0x" and "0X" as well
};

std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max = UINT32_MAX,
                                    HexPrefixes prefixes = kHexPrefixHashOrDollar);
// Digits alone in `base` (2, 10 or 16), without a prefix.
std::optional<uint32_t> ParseDigits(std::string_view digits, int base, uint32_t max = UINT32_MAX);
