#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "debugger/calculator.h"

namespace {

// Presses the space-separated labels on a fresh calculator and returns the display
// without its padding.
std::string PressAll(const std::string& keys, Calculator& c) {
    std::istringstream in(keys);
    for (std::string label; in >> label;)
        c.Press(label);
    const std::string& d = c.Display();
    EXPECT_EQ(d.size(), size_t(Calculator::kDisplayWidth)) << keys;
    return d.substr(d.find_first_not_of(' '));
}

struct Case {
    const char* keys;
    const char* shown;
};

TEST(Calculator, ButtonSequencesShowTheirResults) {
    const Case cases[] = {
        {"", "0"},
        {"HEX F F * 2 =", "OVERFLOW"},
        {"SIZE HEX F F * 2 =", "1FE"},
        {"2 0 0 + 1 0 0 =", "OVERFLOW"},
        {"SIZE 2 0 0 + 1 0 0 =", "300"},
        {"7 / 0 =", "DIVIDE BY 0"},
        {"7 / 2 =", "3"},
        {"5 * =", "25"},
        {"5 * 0 =", "0"},        // a typed 0 is a 0, not a request to square
        {"2 0 * =", "OVERFLOW"}, // the square is range-checked like any product
        {"3 0 0", "30"},         // the third digit would leave the byte range
        {"0 0 7", "7"},
        {"1 2 + 3 * 2 =", "30"}, // operations chain left to right
        {"5 + * 3 =", "15"},     // a second operator corrects the first
        {"3 - 5 =", "OVERFLOW"}, // negative while unsigned
        {"SIGN 3 - 5 =", "-2"},
        {"SIGN 1 0 0 - 1 2 0 - 1 2 0 =", "OVERFLOW"}, // -140 is below a signed byte
        {"SIGN SIZE 1 0 0 - 2 0 0 - 2 0 0 =", "-300"},
        {"SIZE 6 5 5 3 5 * 6 5 5 3 5 * 6 5 5 3 5 * 6 5 5 3 5 =", "OVERFLOW"},
        {"SIZE 6 5 5 3 5 * 6 5 5 3 5 / 6 5 5 3 5 =", "65535"},
        {"HEX F 0 AND 3 C =", "30"},
        {"HEX F 0 OR 0 F =", "FF"},
        {"HEX F F XOR 0 F =", "F0"},
        {"HEX 8 0 CARRY RL", "1"},
        {"HEX 8 1 RLC", "3"},
        {"HEX 0 1 CARRY RR", "80"},
        {"HEX 0 1 RRC", "80"},
        {"HEX 8 1 SRA", "C0"},
        {"HEX 8 1 SRL", "40"},
        {"HEX 4 0 SLL", "81"},
        {"HEX C 0 SLA", "80"},
        {"BIN 1 0 1", "101"},
        {"BIN 1 0 1 =", "00000101"},
        {"BIN 1 1 1 1 1 1 1 1 1", "11111111"},
        {"SIZE BIN 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "1111111111111111"},
        {"2 5 5 HEX", "FF"},
        {"2 5 5 BIN", "11111111"},
        {"HEX F F DEC", "255"},
        {"SIGN HEX F F DEC", "-1"},
        {"5 NOT", "-5"},
        {"HEX 5 NOT", "FB"},
        {"SIGN 5 +/-", "-5"},
        {"SIGN 5 +/- + 2 =", "-3"},
        {"SIGN +/- 1 2 8", "12"}, // a negative entry stays within -128..127
        // Signed results overflow at both ends of the range, BYTE and WORD alike.
        {"SIGN 1 2 7 + 1 =", "OVERFLOW"},
        {"SIGN 1 2 7 + 0 =", "127"},
        {"SIGN 1 2 0 +/- - 8 =", "-128"},
        {"SIGN 1 2 0 +/- - 9 =", "OVERFLOW"},
        {"SIGN 2 5 5", "25"}, // 255 is no signed byte
        {"SIGN 2 5 5 HEX DEC", "25"},
        {"SIGN HEX 7 F + 1 =", "OVERFLOW"},
        {"SIGN HEX F F + 1 =", "0"}, // FF is -1
        {"SIGN HEX 8 0 - 1 =", "OVERFLOW"},
        {"SIGN 6 4 * 2 =", "OVERFLOW"},
        {"SIGN SIZE 3 2 7 6 7 + 1 =", "OVERFLOW"},
        {"SIGN SIZE 3 2 7 6 7 + 0 =", "32767"},
        {"SIGN SIZE 3 2 7 6 8", "3276"},
        {"SIGN SIZE 3 2 0 0 0 +/- - 7 6 8 =", "-32768"},
        {"SIGN SIZE 3 2 0 0 0 +/- - 7 6 9 =", "OVERFLOW"},
        {"SIGN SIZE HEX 7 F F F + 1 =", "OVERFLOW"},
        {"SIGN SIZE HEX F F F F DEC", "-1"},
        {"SIGN SIZE 2 0 0 SIZE", "-56"}, // the low byte, read signed
        {"4 + 1 = + 2 =", "7"},          // the result carries on
        {"4 + 1 = 9", "9"},              // a digit after "=" starts a new number
        {"9 + 9 CA", "0"},
        {"CE STO 5", "5"},
    };
    for (const Case& c : cases) {
        Calculator calc;
        EXPECT_EQ(PressAll(c.keys, calc), c.shown) << c.keys;
    }
}

TEST(Calculator, ButtonsFollowBaseAndSize) {
    Calculator c;
    EXPECT_FALSE(c.Enabled("A"));
    EXPECT_TRUE(c.Enabled("9"));
    EXPECT_FALSE(c.Press("A")); // refused in DEC
    c.Press("BIN");
    EXPECT_FALSE(c.Enabled("2"));
    EXPECT_TRUE(c.Enabled("1"));
    c.Press("HEX");
    EXPECT_TRUE(c.Enabled("F"));
    EXPECT_TRUE(c.Enabled("AND"));
    c.Press("SIZE");
    EXPECT_STREQ(c.SizeCaption(), "WORD");
    EXPECT_FALSE(c.Enabled("AND"));
    EXPECT_FALSE(c.Enabled("RL"));
    EXPECT_TRUE(c.Enabled("SLA"));
    EXPECT_FALSE(c.Enabled("+/-"));
    c.Press("SIGN");
    EXPECT_TRUE(c.Enabled("+/-"));
    EXPECT_STREQ(c.SignCaption(), "SIGNED");
    EXPECT_STREQ(c.CarryCaption(), "NO CARRY");
    c.Press("CARRY");
    EXPECT_STREQ(c.CarryCaption(), "CARRY");

    // Reopening starts in DEC and BYTE again but keeps signed mode.
    c.Open();
    EXPECT_EQ(c.base(), 10);
    EXPECT_EQ(c.size(), 8);
    EXPECT_TRUE(c.signedMode());
    EXPECT_EQ(c.Display(), "               0");
}

TEST(Calculator, RotateThroughCarrySetsAndUsesTheCarry) {
    Calculator c;
    PressAll("HEX 8 0 CARRY RL", c); // 80 with carry: 01, carry out of bit 7
    EXPECT_TRUE(c.carry());
    PressAll("RL", c); // 01 with carry: 03, carry clear
    EXPECT_FALSE(c.carry());
    EXPECT_EQ(PressAll("", c), "3");
}

} // namespace
