// The one reader of typed numbers, with the rules of each field that uses it.
#include <gtest/gtest.h>

#include <optional>

#include "base/number_text.h"

namespace {

TEST(NumberTextTest, HexAfterHashDollarOr0xDecimalOtherwise) {
    constexpr uint32_t kAny = UINT32_MAX;
    struct Case {
        const char* text;
        uint32_t max;
        HexPrefixes prefixes;
        std::optional<uint32_t> value;
    } const cases[] = {
        // The binary file, disassembly and memory tool fields: no "0x", 32 bits.
        {"$4000", kAny, kHexPrefixHashOrDollar, 0x4000},
        {"#ff", kAny, kHexPrefixHashOrDollar, 255},
        {"#FFFF", kAny, kHexPrefixHashOrDollar, 0xFFFF},
        {"16384", kAny, kHexPrefixHashOrDollar, 16384},
        {"0", kAny, kHexPrefixHashOrDollar, 0},
        {"65536", kAny, kHexPrefixHashOrDollar, 65536},
        {"4294967295", kAny, kHexPrefixHashOrDollar, 0xFFFFFFFFu},
        {"4294967296", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"99999999999", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"$", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"#", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"$12g", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"12a", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"x123", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"-5", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"+5", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"#-5", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {" 12", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"12 ", kAny, kHexPrefixHashOrDollar, std::nullopt},
        {"0x10", kAny, kHexPrefixHashOrDollar, std::nullopt},
        // Addresses: at most 65535.
        {"65535", 0xFFFF, kHexPrefixHashOrDollar, 65535},
        {"65536", 0xFFFF, kHexPrefixHashOrDollar, std::nullopt},
        {"#10000", 0xFFFF, kHexPrefixHashOrDollar, std::nullopt},
        // The command line and Go to Address take "0x" too.
        {"0x3C00", kAny, kHexPrefix0x, 0x3C00},
        {"0X3c00", kAny, kHexPrefix0x, 0x3C00},
        {"#3C00", kAny, kHexPrefix0x, 0x3C00},
        {"0x", kAny, kHexPrefix0x, std::nullopt},
        {"0", kAny, kHexPrefix0x, 0},
        {"0xG", kAny, kHexPrefix0x, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text, c.max, c.prefixes), c.value) << "'" << c.text << "' max " << c.max;

    // Digits in a base of their own (the calculator's BIN, DEC and HEX entries).
    EXPECT_EQ(ParseDigits("1010", 2), 10u);
    EXPECT_EQ(ParseDigits("102", 2), std::nullopt);
    EXPECT_EQ(ParseDigits("fF", 16), 255u);
    EXPECT_EQ(ParseDigits("#F", 16), std::nullopt);
}

} // namespace
