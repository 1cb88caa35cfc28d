#include <string>

#include "running_machine.h"
#include "tape/spool.h"

namespace {

// Keys as (half-row, bit).
constexpr int kShiftRow = 0, kShiftBit = 0, kSymbolBit = 1;

class SpoolTest : public RunningMachineTest {
  protected:
    // The keys a character presses, as the matrix shows them after typing it alone.
    static std::string Pressed() {
        std::string s;
        for (int row = 0; row < 8; ++row)
            for (int bit = 0; bit < 5; ++bit)
                if (KeyDown(row, bit)) s += std::to_string(row) + std::to_string(bit) + " ";
        return s;
    }
    static std::string KeysOf(uint8_t code) {
        ReleaseAllKeys();
        KeyChord keys;
        if (!SpoolCharacterKeys(code, keys)) return "none";
        PressKeys(keys);
        return Pressed();
    }
};

TEST_F(SpoolTest, CharacterTableCoversLettersDigitsAndSymbols) {
    EXPECT_EQ(KeysOf('a'), "10 ");
    EXPECT_EQ(KeysOf('A'), "00 10 ");
    EXPECT_EQ(KeysOf('z'), "02 ");
    EXPECT_EQ(KeysOf('1'), "30 ");
    EXPECT_EQ(KeysOf('0'), "40 ");
    EXPECT_EQ(KeysOf('6'), "44 ");
    EXPECT_EQ(KeysOf(13), "60 ");
    EXPECT_EQ(KeysOf(' '), "70 ");
    EXPECT_EQ(KeysOf('"'), "01 50 ") << "SYMBOL SHIFT and P";
    EXPECT_EQ(KeysOf('.'), "01 71 ") << "SYMBOL SHIFT and M";
    EXPECT_EQ(KeysOf('_'), "01 40 ") << "SYMBOL SHIFT and 0";
    EXPECT_EQ(KeysOf(127), "01 52 ") << "SYMBOL SHIFT and I";
    EXPECT_EQ(KeysOf(10), "none");
    EXPECT_EQ(KeysOf(0), "none");
    EXPECT_EQ(KeysOf(0x80 + 'a'), "none");

    // Every printable character has keys, and each letter key is a different one.
    std::string letters;
    for (int c = 32; c <= 127; ++c)
        EXPECT_NE(KeysOf(uint8_t(c)), "none") << c;
    for (char c = 'a'; c <= 'z'; ++c) {
        const std::string k = KeysOf(uint8_t(c));
        EXPECT_EQ(letters.find(k), std::string::npos) << c;
        letters += k;
    }
}

TEST_F(SpoolTest, StepsPressOneCharacterEachWithoutReleasing) {
    StartSpool(std::string("10 .\r"));
    EXPECT_TRUE(spool.spoolActive);
    const char* expected[] = {"30 ", "40 ", "70 ", "01 71 ", "60 "};
    for (const char* keys : expected) {
        ReleaseAllKeys();
        EXPECT_TRUE(SpoolStep());
        EXPECT_EQ(Pressed(), keys);
    }
    EXPECT_EQ(spool.spoolLeft, 0);
    EXPECT_EQ(SpoolPercent(), 100);
    EXPECT_FALSE(SpoolStep());
}

TEST_F(SpoolTest, KeylessCharactersAreSkipped) {
    StartSpool(std::string("A\x01\x80" "b"));
    SpoolStep();
    EXPECT_TRUE(KeyDown(kShiftRow, kShiftBit));
    EXPECT_EQ(SpoolPercent(), 25);
    ReleaseAllKeys();
    SpoolStep();
    EXPECT_EQ(Pressed(), "73 ") << "b";
}

TEST_F(SpoolTest, LinesEndInEnterWithCarriageReturnsOrWithout) {
    // Unix, Windows and old Mac line ends each type one ENTER; CR LF's LF is skipped.
    StartSpool(std::string("1\n2\r\n3\r4\n\n"));
    const char* expected[] = {"30 ", "60 ", "31 ", "60 ", "32 ", "60 ", "33 ", "60 ", "60 "};
    for (const char* keys : expected) {
        ReleaseAllKeys();
        SpoolStep();
        EXPECT_EQ(Pressed(), keys);
    }
}

TEST_F(SpoolTest, ClearSpoolStopsAtTheNextStepAndCancelAtOnce) {
    StartSpool(std::string("abc"));
    SpoolStep();
    ClearSpool();
    EXPECT_TRUE(spool.spoolActive);
    ReleaseAllKeys();
    EXPECT_FALSE(SpoolStep());
    StartSpool(std::string("abc"));
    SpoolStep();
    CancelSpool();
    EXPECT_FALSE(spool.spoolActive);
    EXPECT_TRUE(NoKeyDown());
}

TEST_F(SpoolTest, HelperCharactersAddShiftedDigitsAndSkipSomeCodes) {
    const char* shifted[] = {"00 33 ", "00 34 ", "00 44 ", "00 43 ", "00 42 ",
                             "00 41 ", "00 40 ", "00 31 ", "00 30 "};
    for (uint8_t code = 4; code <= 12; ++code) {
        ReleaseAllKeys();
        TypeHelperCharacter(code);
        EXPECT_EQ(Pressed(), shifted[code - 4]) << int(code);
    }
    ReleaseAllKeys();
    TypeHelperCharacter('q');
    TypeHelperCharacter(200); // unlisted: nothing pressed, nothing released
    TypeHelperCharacter(3);
    TypeHelperCharacter(127);
    EXPECT_EQ(Pressed(), "20 ");
    TypeHelperCharacter(' ');
    EXPECT_EQ(Pressed(), "20 70 ");

    ReleaseAllKeys();
    StartSpool(std::string("x"));
    TypeHelperCharacter(' ');
    EXPECT_TRUE(NoKeyDown()) << "space is not typed while a spool runs";
    TypeHelperCharacter('+');
    EXPECT_TRUE(KeyDown(kShiftRow, kSymbolBit));
}

} // namespace
