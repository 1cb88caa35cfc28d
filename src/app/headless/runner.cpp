#include "runner.h"

#include <cstdio>

#include "app/config/config_file.h"
#include "app/rom_lookup.h"
#include "debug_actions.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_session.h"
#include "debugger/debugger_text.h"
#include "debugger/disassembler.h"
#include "display/display_settings.h"
#include "display/renderer.h"
#include "file_loaders.h"
#include "forth_actions.h"
#include "list_tape.h"
#include "machine/frame.h"
#include "machine/machine_state.h"
#include "machine/reset.h"
#include "machine/rom.h"
#include "machine/run_state.h"
#include "machine/z80.h"
#include "screen_capture.h"
#include "sound/sound_output.h"
#include "sound/sound_settings.h"
#include "tape/ace_snapshot.h"
#include "tape/binary_files.h"
#include "tape/file_paths.h"
#include "tape/spool.h"
#include "tape/tape_deck.h"
#include "tape/wav_deck.h"

namespace {

// The screen as one text whose rows are joined by newlines, for --until's search.
bool ScreenShows(const std::string& text) {
    return ScreenText().find(text) != std::string::npos;
}

} // namespace

bool HeadlessRunner::SetUp(const HeadlessOptions& options, const char* argv0) {
    ResetEmulator();
    std::string rom = options.romPath;
    if (rom.empty()) {
        const std::string folder = ExecutableFolder(argv0);
        rom = FindStandardRom(folder);
        if (rom.empty()) {
            PrintError("no ROM found (looked for " + DescribeRomSearch(folder) + "); use --rom FILE");
            return false;
        }
    }
    host_.holdMessages = true;
    const bool failed = LoadRomFile(rom, "ACE.ROM");
    host_.holdMessages = false;
    if (failed) {
        PrintError("cannot use ROM '" + rom + "': " + host_.lastMessage);
        return false;
    }
    const std::string::size_type slash = rom.find_last_of('/');
    romState.romFolder = slash == std::string::npos ? std::string() : rom.substr(0, slash + 1);

    std::string problem;
    if (!options.configPath.empty() && !LoadConfigFile(options.configPath, problem)) {
        PrintError("cannot use configuration '" + options.configPath + "': " + problem);
        return false;
    }
    if (options.model >= 0) machine.model = uint32_t(options.model);
    if (options.colours >= 0) opt_colours = options.colours;
    if (options.autoload) opt_autoload = true;
    machine.topPage = ModelTable(machine.model).topPage;
    machine.ramTop = ModelTable(machine.model).ramTop;
    BuildBeamMap();
    ApplyColourScheme(opt_colours);
    ResetMachine();
    machine.soundInterface = uint8_t(options.soundInterface);
    runState.FastMode = true; // nobody watches: run as fast as the host allows
    host_.tapeOutFiles.assign(options.tapeOut.begin(), options.tapeOut.end());
    if (options.romLabels) opt_dis_rom = 1;
    if (options.systemVariableLabels) opt_dis_sv = 1;
    if (!ArmBreakpoints(options)) {
        badArguments_ = true;
        return false;
    }
    if (options.fastload) opt_fastloadtzx = true;
    if (!options.recordWav.empty()) PrepareRecording(options.recordWav);
    if (options.volume >= 0) opt_snd_volume = uint8_t(options.volume);
    if (options.soundOutput >= 0) opt_snd_output = uint8_t(options.soundOutput);
    if (options.echo >= 0) opt_echo = uint8_t(options.echo);
    // With sound going to a file, Fast mode must stay off so that samples are made; the
    // file never waits, so the frames still run unpaced.
    if (!options.audioOut.empty()) return StartAudioOut(options.audioOut);
    return true;
}

bool HeadlessRunner::StartAudioOut(const std::string& path) {
    audioOut_ = std::make_unique<WavWriterDevice>(path);
    SetAudioDevice(audioOut_.get());
    host_.holdMessages = true;
    const bool failed = InitSound() != 0;
    host_.holdMessages = false;
    if (failed) {
        PrintError("cannot write audio to '" + path + "': " + host_.lastMessage);
        return false;
    }
    runState.FastMode = false;
    return true;
}

HeadlessRunner::~HeadlessRunner() {
    if (!audioOut_) return;
    ShutdownSound();
    SetAudioDevice(nullptr);
}

bool HeadlessRunner::ArmBreakpoints(const HeadlessOptions& options) {
    for (const HeadlessOptions::Watch& watch : options.watchpoints) {
        const BreakKind kind = watch.kind == 'r'   ? BreakKind::Read
                               : watch.kind == 'p' ? BreakKind::Port
                                                   : BreakKind::Write;
        // The texts were checked with the command line; only a full table can refuse them.
        if (AddBreakpoint(watch.address, "", kind) != BreakpointResult::Ok) {
            PrintError("only 256 breakpoints allowed");
            return false;
        }
    }
    // Words are told apart when they are entered, so that a word defined later still stops.
    host_.breakWords = options.breakWords;
    if (!options.breakWords.empty() && AddBreakpoint("#04C5", "") != BreakpointResult::Ok) {
        PrintError("--break-word: only 256 breakpoints allowed");
        return false;
    }
    for (const std::string& text : options.breakpoints) {
        const std::string::size_type comma = text.find(',');
        const std::string address = text.substr(0, comma);
        const std::string condition = comma == std::string::npos ? std::string() : text.substr(comma + 1);
        switch (AddBreakpoint(address, condition)) {
        case BreakpointResult::Ok:
            // The list window keeps a condition it cannot read as text that stops always;
            // a script should hear of it.
            if (!condition.empty() &&
                !breakpointState.breakpoints[breakpointState.breakpointCount - 1].hasCondition)
                PrintError("--break '" + text +
                           "': the condition is not REGISTER=, < or > a number in range; " +
                           "the breakpoint stops whatever the registers hold");
            break;
        case BreakpointResult::TableFull: PrintError("--break: only 256 breakpoints allowed"); return false;
        case BreakpointResult::BadAddress: {
            char top[8];
            std::snprintf(top, sizeof top, "#%04X", machine.ramTop);
            PrintError("--break needs an address from 0 to " + std::string(top) +
                       " (decimal, or hexadecimal after #, $ or 0x), not '" + address + "'");
            return false;
        }
        }
    }
    return true;
}

bool HeadlessRunner::RunOneFrame() {
    // With breakpoints armed the frame's instructions run here, so that a hit can end
    // the action between two instructions; RunFrame then only closes the frame.
    if (debugHooksOn || watchpointsOn) {
        MachineState& m = machine;
        host_.breakRequested = false;
        while (m.tstates < m.frameTstates) {
            ExecuteInstruction();
            if (host_.breakRequested) return false;
        }
    }
    RunFrame();
    ++frames_;
    return true;
}

bool HeadlessRunner::RunFrames(long count) {
    for (long i = 0; i < count; ++i)
        if (!RunOneFrame()) return false;
    return true;
}

void HeadlessRunner::Disassemble(uint32_t start, uint32_t end) {
    for (uint32_t address = start; address <= end;) {
        disassembleLine(address);
        if (disassembler.lineText.empty()) break; // past the top of RAM
        std::printf("%s\n", disassembler.lineText.c_str());
        if (disassembler.disAddr <= address) break;
        address = disassembler.disAddr;
    }
}

void HeadlessRunner::Step(long count) {
    for (long i = 0; i < count; ++i) {
        disassembleLine(machine.pc);
        std::printf("%s\n", disassembler.lineText.c_str());
        debuggerSession.debuggerOpen = true; // a breakpoint does not interrupt the stepping
        SingleStep();
        debuggerSession.debuggerOpen = false;
    }
}

void HeadlessRunner::TypeKeys(const std::string& keys) {
    StartSpool(keys);
    FinishTyping();
}

void HeadlessRunner::FinishTyping() {
    // The bound only guards against typing that never ends.
    const long bound = SpoolFrameBound();
    for (long i = 0; i < bound && spool.spoolActive; ++i)
        if (!RunFrames(1)) return;
}

bool HeadlessRunner::RunUntil(const std::string& text, long maxFrames) {
    for (long i = 0; !ScreenShows(text); ++i) {
        if (i >= maxFrames) return false;
        if (!RunFrames(1)) return true; // a breakpoint ends the wait
    }
    return true;
}

int HeadlessRunner::RunAction(const Action& action, const HeadlessOptions& options) {
    std::string error;
    switch (action.kind) {
    case ActionKind::Run: RunFrames(action.frames); break;
    case ActionKind::Type: TypeKeys(TypedText(action.text)); break;
    case ActionKind::Until:
        if (!RunUntil(action.text, options.maxFrames)) {
            PrintError("'" + action.text + "' did not appear on the screen within " +
                       std::to_string(options.maxFrames) + " frames");
            return kExitUntilTimedOut;
        }
        break;
    case ActionKind::Load: {
        const int shownBefore = host_.messagesShown;
        if (!LoadFileByKind(action.text, *this, error)) {
            if (!error.empty() || host_.messagesShown == shownBefore)
                PrintError(error.empty() ? "cannot load '" + action.text + "'" : error);
            return kExitError;
        }
        break;
    }
    case ActionKind::ListTape:
        if (!ListTape(action.text, error)) {
            PrintError(error);
            return kExitError;
        }
        if (!error.empty()) PrintError(error); // the rows before the fault were listed
        break;
    case ActionKind::Screen: std::fputs(ScreenText().c_str(), stdout); break;
    case ActionKind::Disassemble: Disassemble(action.address, action.length); break;
    case ActionKind::Registers:
        for (const std::string& row : RegisterPaneRows())
            std::printf("%s\n", row.c_str());
        break;
    case ActionKind::Step: Step(action.frames); break;
    case ActionKind::SaveSnapshot:
        if (!SaveAceSnapshot(action.text)) {
            PrintError("cannot write snapshot '" + WithExtension(action.text, ".ace") + "'");
            return kExitError;
        }
        break;
    case ActionKind::LoadBinary:
        if (LoadBinaryFile(action.text, action.address)) {
            PrintError("cannot read '" + action.text + "'");
            return kExitError;
        }
        break;
    case ActionKind::SaveBinary:
        if (SaveBinaryFile(action.text, action.address, action.length) == BinaryResult::CannotWrite) {
            PrintError("cannot write '" + WithExtension(action.text, ".bin") + "'");
            return kExitError;
        }
        break;
    case ActionKind::Screenshot:
        if (!WriteScreenshot(action.text, error)) {
            PrintError(error);
            return kExitError;
        }
        break;
    case ActionKind::Words: PrintWordList(); break;
    case ActionKind::SystemVariables: PrintSystemVariables(); break;
    case ActionKind::Decompile:
    case ActionKind::ExportWords:
        if (!(action.kind == ActionKind::Decompile ? PrintDecompiledWord(action.text, error)
                                                   : ExportWordsAction(action.text, error))) {
            PrintError(error);
            return kExitError;
        }
        break;
    case ActionKind::ForthStack: PrintForthStack(); break;
    case ActionKind::PcLog:
        if (!StartCommandLinePcLog(action.text, error)) {
            PrintError(error);
            return kExitError;
        }
        break;
    case ActionKind::DisassembleTo:
        if (!DisassembleToFileAction(action.text, action.address, action.length, error)) {
            PrintError(error);
            return kExitError;
        }
        break;
    }
    return kExitOk;
}

int HeadlessRunner::RunActions(const HeadlessOptions& options) {
    startSeconds_ = host_.NowSeconds();
    int status = kExitOk;
    for (const Action& action : options.actions) {
        status = RunAction(action, options);
        if (status != kExitOk) break;
    }
    EndCommandLinePcLog();
    endSeconds_ = host_.NowSeconds();
    if (!options.recordWav.empty() && !FinishRecording()) {
        PrintError("cannot write the recording '" + WithExtension(options.recordWav, ".wav") + "'");
        if (status == kExitOk) status = kExitError;
    }
    std::fflush(stdout);
    return status;
}

std::string HeadlessRunner::StatsLine() const {
    const double seconds = endSeconds_ - startSeconds_;
    const uint64_t tstates = frames_ * machine.frameTstates;
    const double emulated = double(frames_) / 50.0;
    char line[160];
    std::snprintf(line, sizeof line, "frames=%llu tstates=%llu seconds=%.3f speed=%.2f",
                  static_cast<unsigned long long>(frames_), static_cast<unsigned long long>(tstates), seconds,
                  seconds > 0 ? emulated / seconds : 0.0);
    return line;
}
