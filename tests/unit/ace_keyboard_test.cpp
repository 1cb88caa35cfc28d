// The Ace's keyboard table against the keyboard matrix written out by hand, so the test
// does not trust the table it checks.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/keyboard.h"
#include "machine/ace_keyboard.h"

namespace {

const char* const kMatrixNames[8][5] = {
    {"SHIFT", "SYMBOL\nSHIFT", "Z", "X", "C"},
    {"A", "S", "D", "F", "G"},
    {"Q", "W", "E", "R", "T"},
    {"1", "2", "3", "4", "5"},
    {"0", "9", "8", "7", "6"},
    {"P", "O", "I", "U", "Y"},
    {"ENTER", "L", "K", "J", "H"},
    {"SPACE", "M", "N", "B", "V"},
};

std::string NameOf(AceKey key) {
    return key.row < 8 && key.bit < 5 ? kMatrixNames[key.row][key.bit] : "(off the matrix)";
}

TEST(AceKeyboardTest, EveryKeySitsOnceInItsPlaceInTheMatrix) {
    // The keyboard's own order, left to right and top down: the Keyboard Helper's buttons.
    const char* const kKeyboardOrder[kAceKeyCount] = {
        "1",    "2", "3", "4",     "5",     "6", "7", "8", "9", "0", "Q", "W", "E",
        "R",    "T", "Y", "U",     "I",     "O", "P", "A", "S", "D", "F", "G", "H",
        "J",    "K", "L", "ENTER", "SHIFT", "Z", "X", "C", "V", "B", "N", "M", "SYMBOL\nSHIFT",
        "SPACE"};
    std::set<int> places;
    for (int i = 0; i < kAceKeyCount; ++i) {
        const AceKeyCap& cap = kAceKeys[i];
        EXPECT_STREQ(cap.legend, kKeyboardOrder[i]) << "key " << i;
        EXPECT_EQ(NameOf(cap.key), cap.legend) << "key " << i;
        EXPECT_EQ(HelperButtonKey(i), cap.key) << "button " << i;
        places.insert(cap.key.row * 8 + cap.key.bit);
    }
    EXPECT_EQ(places.size(), size_t(kAceKeyCount));

    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(NameOf(AceDigitKey(d)), std::to_string(d));
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_EQ(NameOf(AceLetterKey(c)), std::string(1, c));
    const struct {
        AceKey key;
        int button;
        const char* name;
    } named[] = {{kAceShift, kHelperShiftButton, "SHIFT"},
                 {kAceSymbolShift, kHelperSymbolShiftButton, "SYMBOL\nSHIFT"},
                 {kAceEnter, kHelperEnterButton, "ENTER"},
                 {kAceSpace, kHelperSpaceButton, "SPACE"}};
    for (const auto& n : named) {
        EXPECT_EQ(NameOf(n.key), n.name);
        EXPECT_STREQ(kAceKeys[n.button].legend, n.name);
    }
}

} // namespace
