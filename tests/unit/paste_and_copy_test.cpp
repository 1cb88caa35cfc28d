// Text between the PC and the Ace: the clipboard made into keys to type, and the screen
// made into text to copy.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/paste_text.h"
#include "display/screen_text.h"
#include "running_machine.h"

namespace {

TEST(PasteTextTest, LineEndsBecomeEnterAndWhatTheAceLacksIsCounted) {
    const struct {
        std::u32string pasted;
        std::string typed;
        int leftOut;
    } cases[] = {
        {U": DBL 2 * ; 21 DBL .\n", ": DBL 2 * ; 21 DBL .\r", 0},
        {U"1\r\n2\r3\n\n", "1\r2\r3\r\r", 0},
        {U"\tx", " x", 0},
        {U"\u00A3\u00A9", "\x60\x7F", 0},
        {U"caf\u00E9 \u20AC5", "caf 5", 2},
        {U"a\x01" U"b\x7F", "ab", 2},
    };
    for (const auto& c : cases) {
        const AceText ace = AceTextFrom(c.pasted);
        EXPECT_EQ(ace.text, c.typed);
        EXPECT_EQ(ace.leftOut, c.leftOut);
    }
    EXPECT_EQ(LeftOutMessage(0), "");
    EXPECT_EQ(LeftOutMessage(1), "1 character the Ace cannot type was left out");
    EXPECT_EQ(LeftOutMessage(3), "3 characters the Ace cannot type were left out");
}

class CopyScreenTest : public RunningMachineTest {
  protected:
    static void Put(int row, int column, const std::string& codes) {
        std::memcpy(ramBlock + 0x2400 + row * 32 + column, codes.data(), codes.size());
    }
    static void Picture(uint8_t code, const uint8_t (&rows)[8]) { std::memcpy(ramBlock + 0x2C00 + code * 8, rows, 8); }
};

TEST_F(CopyScreenTest, CharactersAsAnEditorShowsThem) {
    std::memset(ramBlock + 0x2400, ' ', 768);
    Picture(1, {0xF0, 0xF0, 0xF0, 0xF0, 0, 0, 0, 0});                  // top left quarter
    Picture(2, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x0F, 0x0F, 0x0F});       // all but bottom left
    Picture(3, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});       // full
    Picture(4, {0x81, 0, 0, 0, 0, 0, 0, 0x81});                         // a few dots: blank
    Put(0, 0, "LIST");
    Put(1, 2, "\xCF\xCB");        // inverse "OK"
    Put(2, 0, "\x60 5 \x7F");    // pound, copyright
    Put(3, 0, std::string("\x01\x02\x03\x04|", 5));
    const std::string expected = "LIST\n  OK\n\u00A3 5 \u00A9\n\u2598\u259C\u2588 |\n" + std::string(20, '\n');
    EXPECT_EQ(ScreenTextForCopying(), expected);
}

TEST_F(CopyScreenTest, TheRomsScreenCopiesAsTyped) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    for (int frame = 0; frame < 100; ++frame)
        RunFrame();
    StartSpool(std::string("1 2 + .\r"));
    for (int frame = 0; frame < 1000 && spool.spoolActive; ++frame)
        RunFrame();
    for (int frame = 0; frame < 20; ++frame)
        RunFrame();
    const std::string text = ScreenTextForCopying();
    EXPECT_EQ(text.substr(0, text.find('\n')), "1 2 + . 3  OK");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);
}

} // namespace
