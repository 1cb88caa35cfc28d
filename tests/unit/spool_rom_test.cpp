// Spool text typed into the real ROM: nothing may be lost while the ROM is busy with a
// line it was given, however long that takes.
#include <algorithm>
#include <string>
#include <vector>

#include "debugger/forth_views.h"
#include "machine/reset.h"
#include "running_machine.h"

namespace {

class SpoolRomTest : public RunningMachineTest {
  protected:
    static void SpoolToTheEnd(const std::string& text) {
        StartSpool(text);
        for (int frame = 0; frame < 100000 && spool.spoolActive; ++frame)
            RunFrame();
        EXPECT_FALSE(spool.spoolActive);
        for (int frame = 0; frame < 100; ++frame)
            RunFrame();
    }
    static std::string Screen() {
        std::string screen;
        for (int row = 0; row < 24; ++row)
            screen += ScreenLine(row) + "\n";
        return screen;
    }
    static bool Defined(const std::string& name) {
        const std::vector<ForthWord> words = buildWordList();
        return std::any_of(words.begin(), words.end(), [&](const ForthWord& w) { return w.name == name; });
    }
};

std::string WordName(int n) {
    std::string name = "W";
    return name += std::to_string(n);
}

// A FORTH source whose colon definitions each have a long line of numbers (the ROM looks
// each one up through the whole dictionary before it reads it as a number, so the line
// takes several frames to compile) followed by short lines after BEGIN.
std::string SlowToCompileSource(int definitions) {
    std::string numbers;
    for (int n = 1; n <= 36; ++n)
        (numbers += std::to_string(n * 7)) += ' ';
    std::string text;
    for (int d = 1; d <= definitions; ++d) {
        // The loop drops the numbers again, down to the 0 put first.
        text += ": ";
        text += WordName(d);
        text += "\n  0 ";
        text += numbers;
        text += "\n  BEGIN\n  0=\n  UNTIL ;\n";
    }
    return text;
}

TEST_F(SpoolRomTest, EveryDefinitionOfASlowToCompileSourceArrivesAtTheDefaultSpeed) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    // The 19K machine: room for all the definitions.
    machine.model = 1;
    machine.topPage = ModelTable(1).topPage;
    machine.ramTop = ModelTable(1).ramTop;
    ResetMachine();
    for (int frame = 0; frame < 100; ++frame)
        RunFrame();
    ASSERT_EQ(opt_spool_speed, kDefaultSpoolSpeed);
    const int definitions = 14;
    const std::string source = SlowToCompileSource(definitions);
    ASSERT_GT(source.size(), 2000u);
    SpoolToTheEnd(source);
    const std::string screen = Screen();
    for (int d = 1; d <= definitions; ++d)
        EXPECT_TRUE(Defined(WordName(d))) << WordName(d) << "\n" << screen;
    EXPECT_EQ(screen.find("ERROR"), std::string::npos) << screen;
    // And they work: each leaves the stack as it found it.
    SpoolToTheEnd("5 W1 W14 .\n");
    EXPECT_NE(Screen().find("5 W1 W14 . 5  OK"), std::string::npos) << Screen();
}

} // namespace
