#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/messages.h"
#include "machine/ace_bus.h"
#include "machine/memory.h"
#include "machine/memory_map.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/z80.h"
#include "test_support.h"

namespace {

class MemoryTest : public MachineTest {};

void SetModelLimits(uint32_t model) {
    machine.model = model;
    machine.topPage = ModelTable(model).topPage;
    machine.ramTop = ModelTable(model).ramTop;
}

TEST_F(MemoryTest, VideoRamMirrorReadsAndWritesTheSameBytes) {
    WriteMemory(0x2000, 0x55);
    EXPECT_EQ(ReadMemory(0x2400), 0x55);
    EXPECT_EQ(ReadMemory(0x2000), 0x55);
    EXPECT_EQ(machine.ram[0x2400], 0x55);
    EXPECT_EQ(machine.ram[0x2000], 0x00) << "the first 8 KB of the RAM block are never addressed";
}

TEST_F(MemoryTest, CharacterRamIsWriteOnlyForTheProcessor) {
    WriteMemory(0x2C05, 0x3C);
    EXPECT_EQ(ReadMemory(0x2C05), 0xFF);
    EXPECT_EQ(machine.ram[0x2C05], 0x3C);
    WriteMemory(0x2805, 0x18); // mirror
    EXPECT_EQ(machine.ram[0x2C05], 0x18);
    EXPECT_EQ(ReadMemory(0x2805), 0xFF);
    EXPECT_EQ(FetchOpcodeByte(0x2C05), 0x18) << "opcode fetches bypass the read-back rule";
}

TEST_F(MemoryTest, UserRamHasThreeMirrors) {
    for (uint16_t base : {0x3000, 0x3400, 0x3800}) {
        const uint8_t v = uint8_t(base >> 8);
        WriteMemory(base + 7, v);
        EXPECT_EQ(machine.ram[0x3C07], v);
        for (uint16_t read : {0x3007, 0x3407, 0x3807, 0x3C07}) EXPECT_EQ(ReadMemory(read), v);
    }
}

TEST_F(MemoryTest, ModelsLimitExpansionRam) {
    SetModelLimits(0);
    WriteMemory(0x4000, 0x12);
    EXPECT_EQ(ReadMemory(0x4000), 0x00);
    EXPECT_EQ(machine.ram[0x4000], 0x00);

    SetModelLimits(1);
    WriteMemory(0x7FFF, 0x34);
    EXPECT_EQ(ReadMemory(0x7FFF), 0x34);
    WriteMemory(0x8000, 0x56);
    EXPECT_EQ(ReadMemory(0x8000), 0x00);
    EXPECT_EQ(machine.ram[0x8000], 0x00);

    SetModelLimits(3);
    WriteMemory(0xFFFF, 0x78);
    EXPECT_EQ(ReadMemory(0xFFFF), 0x78);

    machine.model = 9; // anything out of range writes like the 51K machine
    WriteMemory(0xE000, 0x9A);
    EXPECT_EQ(machine.ram[0xE000], 0x9A);
}

// The step's block map must give every address the cell the reference accesses give,
// for every model, including a model number set directly without rebuilding the map.
TEST_F(MemoryTest, StepMemoryMapMatchesTheReferenceAccessesEverywhere) {
    uint8_t* const discarded = memoryMap.write[0]; // the ROM's writes go nowhere
    for (uint32_t model : {0u, 1u, 2u, 3u, 9u}) {
        SetModelLimits(model);
        machine.tstates = 0;
        ExecuteInstruction(); // a run of instructions brings the map up to date
        for (uint32_t a = 0; a < 0x10000; ++a) {
            const auto address = uint16_t(a);
            const uint8_t* mappedRead = memoryMap.read[a >> 10] + (a & 0x3FF);
            uint8_t* mappedWrite = memoryMap.write[a >> 10] + (a & 0x3FF);
            uint8_t* written = DataWriteCell(address);
            ASSERT_EQ(mappedRead, DataReadCell(address)) << "model " << model << " read " << a;
            ASSERT_EQ(mappedWrite, written ? written : discarded + (a & 0x3FF)) << "model " << model << " write " << a;
            ASSERT_EQ(FetchOpcodeByte(address), machine.pages[a >> 13][a & 0x1FFF]) << "fetch " << a;
        }
    }
    AceBus bus;
    bus.Write(0x2001, 0x42); // a video mirror through the map reaches the beam's record
    EXPECT_EQ(ReadMemory(0x2401), 0x42);
    EXPECT_EQ(bus.Read(0x2001), 0x42);
    const uint8_t romByte = ReadMemory(0x1000);
    bus.Write(0x1000, uint8_t(~romByte));
    EXPECT_EQ(ReadMemory(0x1000), romByte);
}

TEST_F(MemoryTest, RomIgnoresWrites) {
    const uint8_t before = ReadMemory(0x0100);
    WriteMemory(0x0100, uint8_t(before ^ 0xFF));
    EXPECT_EQ(ReadMemory(0x0100), before);
}

TEST_F(MemoryTest, HardResetSetsPowerOnRegisters) {
    machine.af.w = machine.bc.w = machine.ix.w = 0x1234;
    machine.memptr = 0x4321;
    ResetMachine();
    EXPECT_EQ(machine.hl.w, 0xFFFF);
    EXPECT_EQ(machine.de.w, 0x0000);
    EXPECT_EQ(machine.af.w, 0);
    EXPECT_EQ(machine.bc.w, 0);
    EXPECT_EQ(machine.ix.w, 0);
    EXPECT_EQ(machine.memptr, 0x4321) << "memptr survives a reset";
    for (uint8_t row : machine.keyMatrix) EXPECT_EQ(row, 0xFF);
}

TEST_F(MemoryTest, SoftResetOnlyReleasesKeysAndRestarts) {
    machine.pc = 0x1234;
    machine.bc.w = 0x5678;
    machine.keyMatrix[3] = 0xFE;
    WriteMemory(0x3C00, 0xAA);
    SoftReset();
    EXPECT_EQ(machine.pc, 0);
    EXPECT_EQ(machine.bc.w, 0x5678);
    EXPECT_EQ(machine.keyMatrix[3], 0xFF);
    EXPECT_EQ(ReadMemory(0x3C00), 0xAA);
}

class RomTest : public MachineTest {};

void WriteFile(const std::string& path, size_t size, uint8_t fill) {
    std::ofstream out(path, std::ios::binary);
    std::string bytes(size, char(fill));
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

TEST_F(RomTest, BadRomFilesReportAndKeepThePreviousRom) {
    const std::string dir = ScratchFolder();
    romState.romFolder = dir;
    WriteFile(dir + "ace.rom", kRomSize, 0x11);
    ASSERT_EQ(LoadStandardRom(), LoadResult::Loaded);
    EXPECT_EQ(ReadMemory(0x0000), 0x11);

    for (size_t size : {size_t(8191), size_t(8193), size_t(0)}) {
        WriteFile(dir + "ace.rom", size, 0x22);
        EXPECT_EQ(LoadStandardRom(), LoadResult::Failed);
        EXPECT_EQ(LastReportedMessage().text, "03 - ROM file incorrect length");
        EXPECT_EQ(LastReportedMessage().caption, "NoltACE Error");
        EXPECT_EQ(ReadMemory(0x0000), 0x11) << "a failed load keeps the previous ROM";
    }

    std::filesystem::remove(dir + "ace.rom");
    EXPECT_EQ(LoadStandardRom(), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().text, "02 - ROM missing");

    std::filesystem::create_directory(dir + "folder.rom");
    EXPECT_EQ(LoadCustomRom("folder.rom"), LoadResult::Failed);
    EXPECT_EQ(LastReportedMessage().code, 2);
    EXPECT_EQ(ReadMemory(0x0000), 0x11);
    EXPECT_EQ(recorder.messages.size(), 5u);
}

TEST_F(RomTest, CustomRomNameIsUpperCased) {
    const std::string dir = ScratchFolder();
    romState.romFolder = dir;
    WriteFile(dir + "mine.rom", kRomSize, 0x33);
    ASSERT_EQ(LoadCustomRom("mine.rom"), LoadResult::Loaded);
    EXPECT_EQ(romState.currentRomName, "MINE.ROM");
    EXPECT_EQ(ReadMemory(0x0010), 0x33);
}

TEST_F(RomTest, TheRealRomCarriesTheSaveTrap) {
    if (!BootTestRom()) GTEST_SKIP() << "NOLTACE_TEST_ROM does not name a readable ace.rom";
    EXPECT_EQ(ReadMemory(0x0000), 0xF3);
    EXPECT_EQ(ReadMemory(0x0001), 0x21);
    EXPECT_EQ(ReadMemory(0x1820), 0xED);
    EXPECT_EQ(ReadMemory(0x1821), 0xFD);
    EXPECT_EQ(ReadMemory(0x1822), 0xC9);
    EXPECT_EQ(PristineRom()[0x1820], 0xFD) << "the pristine copy keeps the ROM's own bytes";
    EXPECT_EQ(romState.currentRomName, "ACE.ROM");
}

} // namespace
