// The debugger's memory tools: every request that does not fit the machine is refused
// with its message and writes nothing; good ones write exactly what they say.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "debugger/memory_editor.h"
#include "debugger/memory_tools.h"
#include "machine/machine_state.h"
#include "machine/rom.h"
#include "tape/tape_deck.h"
#include "test_support.h"

namespace {

class MemoryToolsTest : public MachineTest {
  protected:
    void SetUp() override {
        MachineTest::SetUp();
        for (uint32_t a = 0; a < 0x10000; ++a)
            machine.ram[a] = uint8_t(a * 7);
        before_.assign(machine.ram, machine.ram + 0x10000);
    }
    // Addresses whose RAM byte differs from the pattern SetUp wrote.
    std::vector<uint32_t> Changed() const {
        std::vector<uint32_t> changed;
        for (uint32_t a = 0; a < 0x10000; ++a)
            if (machine.ram[a] != before_[a]) changed.push_back(a);
        return changed;
    }
    std::vector<uint8_t> before_;
};

struct BadRequest {
    const char* tool; // "copy" or "fill"
    const char *a, *b, *c;
    ToolResult expected;
};

TEST_F(MemoryToolsTest, BadRequestsAreRefusedAndWriteNothing) {
    // The 3K machine: RAM 2000..3FFF.
    const BadRequest requests[] = {
        {"copy", "", "#3C00", "16", ToolResult::BadNumber},
        {"copy", "#3C00", "abc", "16", ToolResult::BadNumber},
        {"copy", "#3C00", "#3D00", "-1", ToolResult::BadNumber},
        {"copy", "#3C00", "#3D00", "70000", ToolResult::BadNumber},
        {"copy", "#3C00", "#3D00", "#10000", ToolResult::BadNumber},
        {"copy", "#3C00", "#3D00", "0", ToolResult::BadRange},
        {"copy", "#3C00", "#3FF0", "17", ToolResult::BadRange}, // one byte past ramTop
        {"copy", "#3FF0", "#3C00", "17", ToolResult::BadRange}, // the source too
        {"copy", "#3C00", "#4000", "1", ToolResult::BadRange},  // beyond the 3K machine
        {"copy", "#3C00", "#1000", "16", ToolResult::BadRange}, // into ROM
        {"copy", "#3C00", "#FFFF", "2", ToolResult::BadRange},  // would wrap
        {"fill", "#3C00", "-1", "0", ToolResult::BadNumber},
        {"fill", "#3C00", "", "0", ToolResult::BadNumber},
        {"fill", "#3C00", "16", "", ToolResult::BadNumber},
        {"fill", "#3C00", "16", "256", ToolResult::BadNumber}, // not a byte
        {"fill", "#3C00", "16", "x1", ToolResult::BadNumber},
        {"fill", "#3C00", "1025", "0", ToolResult::BadRange},
        {"fill", "#1FFF", "2", "0", ToolResult::BadRange},
        {"fill", "#FFFF", "2", "0", ToolResult::BadRange},
        {"fill", "65536", "1", "0", ToolResult::BadNumber},
    };
    for (const BadRequest& r : requests) {
        recorder.messages.clear();
        const ToolResult result = std::string(r.tool) == "copy"
                                      ? CopyMemoryBlock(r.a, r.b, r.c)
                                      : FillMemoryBlock(r.a, r.b, r.c, FillMode::Byte);
        ReportToolResult(result);
        EXPECT_EQ(result, r.expected) << r.tool << " " << r.a << " " << r.b << " " << r.c;
        EXPECT_TRUE(Changed().empty()) << r.tool << " " << r.a << " " << r.b << " " << r.c;
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0], "NoltACE Debug|52 - Debugger: Not a number or number out of range");
    }
    // Text and 16-bit fills check the same way.
    EXPECT_EQ(FillMemoryBlock("#3FFF", "2", "AB", FillMode::Text), ToolResult::BadRange);
    EXPECT_EQ(FillMemoryBlock("#3C00", "2", "", FillMode::Text), ToolResult::BadNumber);
    EXPECT_EQ(FillMemoryBlock("#3C00", "2", "#10000", FillMode::Word), ToolResult::BadNumber);
    EXPECT_TRUE(Changed().empty());
}

TEST_F(MemoryToolsTest, FillsAndCopiesWriteExactlyTheirLength) {
    ASSERT_EQ(FillMemoryBlock("#3C00", "5", "#1234", FillMode::Word), ToolResult::Done);
    EXPECT_EQ(Changed(), (std::vector<uint32_t>{0x3C00, 0x3C01, 0x3C02, 0x3C03, 0x3C04}));
    EXPECT_EQ(machine.ram[0x3C04], 0x34); // an odd length ends with a low byte
    EXPECT_EQ(machine.ram[0x3C03], 0x12);

    ASSERT_EQ(FillMemoryBlock("#3D00", "5", "AB", FillMode::Text), ToolResult::Done);
    EXPECT_EQ(std::string(machine.ram + 0x3D00, machine.ram + 0x3D06),
              std::string("ABABA") + char(before_[0x3D05]));

    ASSERT_EQ(FillMemoryBlock("#3FFF", "1", "$FF", FillMode::Byte), ToolResult::Done);
    EXPECT_EQ(machine.ram[0x3FFF], 0xFF);

    // Overlapping copies come out as the source was; the ROM can be a source.
    const std::vector<uint8_t> source(machine.ram + 0x3E00, machine.ram + 0x3E10);
    ASSERT_EQ(CopyMemoryBlock("#3E00", "#3E04", "16"), ToolResult::Done);
    EXPECT_TRUE(std::equal(source.begin(), source.end(), machine.ram + 0x3E04));
    ASSERT_EQ(CopyMemoryBlock("0", "#3F00", "4"), ToolResult::Done);
    EXPECT_TRUE(std::equal(machine.pages[0], machine.pages[0] + 4, machine.ram + 0x3F00));
}

TEST_F(MemoryToolsTest, FindPushPopAndRegisters) {
    machine.ram[0x3D00] = 0x34;
    machine.ram[0x3D01] = 0x12;
    ASSERT_TRUE(FindPattern("#1234", FindMode::Word));
    EXPECT_EQ(FindInMemory(*FindPattern("#1234", FindMode::Word), 0x3000), 0x3D00u);
    EXPECT_EQ(FindInMemory(*FindPattern("52,18", FindMode::Bytes), 0x3000), 0x3D00u);
    EXPECT_FALSE(FindPattern("", FindMode::Word));
    EXPECT_FALSE(FindPattern("#10000", FindMode::Word));
    EXPECT_FALSE(FindPattern("1,,2", FindMode::Bytes));
    EXPECT_FALSE(FindPattern("1,300", FindMode::Bytes));
    std::memcpy(machine.ram + 0x3E00, "Hello", 5);
    EXPECT_EQ(FindInMemory(*FindPattern("Hello", FindMode::Text), 0), 0x3E00u);
    EXPECT_FALSE(FindInMemory(*FindPattern("hello", FindMode::Text), 0x3E00)); // case counts
    // A match must lie wholly within memory.
    machine.ram[0x3FFF] = 0xAB;
    EXPECT_FALSE(FindInMemory({0xAB, uint8_t(0x00)}, 0x3FFF));

    machine.sp = 0x3F00;
    ASSERT_EQ(PushText("#FFFF"), ToolResult::Done);
    EXPECT_EQ(machine.sp, 0x3EFE);
    EXPECT_EQ(PushText("70000"), ToolResult::BadNumber);
    EXPECT_EQ(machine.sp, 0x3EFE);
    machine.ix.w = 0xBEEF;
    ASSERT_EQ(PushText("ix"), ToolResult::Done);
    ASSERT_EQ(PopText("HL'"), ToolResult::Done);
    EXPECT_EQ(machine.hlAlt.w, 0xBEEF);
    ASSERT_EQ(PopText("BC"), ToolResult::Done);
    EXPECT_EQ(machine.bc.w, 0xFFFF);
    EXPECT_EQ(machine.sp, 0x3F00);
    EXPECT_EQ(PopText("7"), ToolResult::BadNumber);

    // The register editor: R's bit 7 goes to r7, a new PC ends a HALT, a bad field
    // stores nothing.
    machine.halted = 1;
    RegisterFields f = CurrentRegisterFields();
    f.pc = "3C00";
    f.r = "#85";
    f.af = "12FF";
    std::fill(std::begin(f.flags), std::end(f.flags), false);
    f.flags[7] = true; // C
    EXPECT_EQ(ApplyRegisterFields(f), "");
    EXPECT_EQ(machine.pc, 0x3C00);
    EXPECT_EQ(machine.halted, 0);
    EXPECT_EQ(machine.r7 & 0x80, 0x80);
    EXPECT_EQ(machine.af.w, 0x1201);
    EXPECT_EQ(CurrentRegisterFields().r, "85");
    f.pc = "0000";
    f.i = "100";
    EXPECT_EQ(ApplyRegisterFields(f), "I");
    EXPECT_EQ(machine.pc, 0x3C00);
    f.i = "0";
    f.sp = "G";
    EXPECT_EQ(ApplyRegisterFields(f), "SP");
}

TEST_F(MemoryToolsTest, EditorWritesRomAndRestoreRomBringsItBackWithTheTapeTrap) {
    REQUIRE_TEST_ROM();
    ASSERT_TRUE(BootTestRom());
    const uint8_t original = machine.pages[0][0x0001];
    MemoryEditor editor;
    editor.Right();
    ASSERT_TRUE(editor.TypeHexDigit('a'));
    editor.Left(); // ignored while half a byte is typed
    ASSERT_TRUE(editor.TypeHexDigit('5'));
    EXPECT_EQ(machine.pages[0][0x0001], 0xA5);
    EXPECT_EQ(editor.editIndex(), 2);
    EXPECT_EQ(editor.Rows()[0].substr(0, 16), "0000   F3 A5 00 ");
    EXPECT_FALSE(editor.TypeHexDigit('G'));

    InsertTapImage({}, "x");
    RestoreRom();
    EXPECT_EQ(machine.pages[0][0x0001], original);
    EXPECT_EQ(machine.pages[0][kLoadTrapAddress], 0xED);
    EXPECT_EQ(machine.pages[0][kLoadTrapAddress + 1], 0xFC);
    EXPECT_EQ(machine.pages[0][kSaveTrapAddress + 1], 0xFD);
    EjectTape();

    // Paging stays within memory: the 3K machine's last page starts at 3E00.
    editor.PageDown();
    editor.PageDown();
    EXPECT_EQ(editor.editTop(), 0x400u);
    editor.ScrollTo(0xFFFF);
    EXPECT_EQ(editor.editTop(), 0x3E00u);
    editor.ScrollTo(-5);
    EXPECT_EQ(editor.editTop(), 0u);
}

} // namespace
