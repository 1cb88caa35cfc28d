#include "runner.h"

#include <cstdio>

#include "app/config/apply_settings.h"
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
#include "machine/saved_state.h"
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
    const bool failed = LoadRomFile(rom, "ACE.ROM") != LoadResult::Loaded;
    host_.holdMessages = false;
    if (failed) {
        PrintError("cannot use ROM '" + rom + "': " + host_.lastMessage);
        return false;
    }
    const std::string::size_type slash = rom.find_last_of('/');
    romState.romFolder = slash == std::string::npos ? std::string() : rom.substr(0, slash + 1);

    // The configuration file, then the options that override it, applied as one change.
    const OptionSet before = LiveOptions();
    OptionSet settings = before;
    std::string problem;
    if (!options.configPath.empty() && LoadConfigFile(options.configPath, settings, problem) != LoadResult::Loaded) {
        PrintError("cannot use configuration '" + options.configPath + "': " + problem);
        return false;
    }
    auto overrideWith = [&settings](const LiveVariable& live, long value) {
        if (value >= 0) settings[size_t(SettingIndex(live))].number = value;
    };
    overrideWith(&machine.model, options.model);
    overrideWith(&opt_colours, options.colours);
    overrideWith(&opt_snd_output, options.soundOutput);
    overrideWith(&opt_echo, options.echo);
    if (options.autoload) overrideWith(&opt_autoload, 1);
    if (options.fastload) overrideWith(&opt_fastloadtzx, 1);
    if (options.romLabels) overrideWith(&opt_dis_rom, 1);
    if (options.systemVariableLabels) overrideWith(&opt_dis_sv, 1);
    BuildBeamMap();
    ApplySettings(EverySetting(before, settings));
    // Any volume, not only the options dialog's steps of ten.
    if (options.volume >= 0) opt_snd_volume = uint8_t(options.volume);
    machine.soundInterface = uint8_t(options.soundInterface);
    runState.FastMode = true; // nobody watches: run as fast as the host allows
    host_.tapeOutFiles.assign(options.tapeOut.begin(), options.tapeOut.end());
    if (!ArmBreakpoints(options)) {
        badArguments_ = true;
        return false;
    }
    if (options.keepHistory) rewind_ = std::make_unique<RewindBuffer>();
    if (!options.recordWav.empty()) PrepareRecording(options.recordWav);
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
    if (rewind_ && !midFrame_) rewind_->FrameStarting();
    // With breakpoints armed the frame's instructions run here, so that a hit can end
    // the action between two instructions; RunFrame then only closes the frame.
    if (debugHooksOn || watchpointsOn) {
        MachineState& m = machine;
        host_.breakRequested = false;
        while (m.tstates < m.frameTstates) {
            ExecuteInstruction();
            if (host_.breakRequested) {
                midFrame_ = true;
                atFrameEnd_ = false;
                return false;
            }
        }
    }
    midFrame_ = false;
    RunFrame();
    atFrameEnd_ = true;
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
        if (rewind_) stepHistory_.BeforeStep();
        debuggerSession.debuggerOpen = true; // a breakpoint does not interrupt the stepping
        SingleStep();
        debuggerSession.debuggerOpen = false;
        stepHistory_.AfterStep();
    }
}

void HeadlessRunner::NoteAction(ActionKind kind) {
    switch (kind) {
    case ActionKind::Run:
    case ActionKind::Until:
    case ActionKind::Rewind: stepHistory_.Forget(); break;
    case ActionKind::Type:
    case ActionKind::Load:
    case ActionKind::LoadBinary:
    case ActionKind::LoadState:
        stepHistory_.Forget();
        if (rewind_) rewind_->MachineChanged();
        midFrame_ = atFrameEnd_ = false;
        break;
    case ActionKind::Step:
    case ActionKind::StepBack:
        if (rewind_) rewind_->MachineChanged();
        midFrame_ = atFrameEnd_ = false;
        break;
    default: break; // the actions that only look
    }
}

int HeadlessRunner::RunStateAction(const Action& action) {
    std::string error;
    switch (action.kind) {
    case ActionKind::Rewind:
        if (!rewind_->Rewind(action.frames, error)) {
            PrintError("--rewind " + std::to_string(action.frames / 50) + ": " + error);
            return kExitError;
        }
        midFrame_ = false;
        break;
    case ActionKind::StepBack: {
        auto step = [] {
            debuggerSession.debuggerOpen = true;
            SingleStep();
            debuggerSession.debuggerOpen = false;
        };
        // Instructions that whole frames ran come back through the rewind buffer; the
        // stepping history then goes on from the frame they were in.
        bool done = false;
        if (stepHistory_.StepsKept() == 0 && atFrameEnd_) {
            std::vector<uint8_t> frameStart;
            long steps = 0;
            done = rewind_->UndoInstructions(action.frames, frameStart, steps, error);
            if (done) stepHistory_.StartFrom(frameStart, steps);
        } else {
            done = stepHistory_.StepBack(action.frames, step, error);
        }
        if (!done) {
            PrintError("--step-back " + std::to_string(action.frames) + ": " + error);
            return kExitError;
        }
        break;
    }
    case ActionKind::SaveState:
        if (!SaveStateFile(WithExtension(action.text, kStateFileExtension), error)) {
            PrintError(error);
            return kExitError;
        }
        break;
    case ActionKind::LoadState:
        if (LoadStateFile(action.text, error) != LoadResult::Loaded) {
            PrintError(error);
            return kExitError;
        }
        break;
    default: break;
    }
    return kExitOk;
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
    const int status = DoAction(action, options);
    NoteAction(action.kind);
    return status;
}

int HeadlessRunner::DoAction(const Action& action, const HeadlessOptions& options) {
    std::string error;
    switch (action.kind) {
    case ActionKind::Rewind:
    case ActionKind::StepBack:
    case ActionKind::SaveState:
    case ActionKind::LoadState: return RunStateAction(action);
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
        if (LoadFileByKind(action.text, *this, error) != LoadResult::Loaded) {
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
        if (!SaveAceSnapshot(action.text)) return kExitError; // reported by the writer
        break;
    case ActionKind::LoadBinary:
        if (LoadBinaryFile(action.text, action.address) != LoadResult::Loaded) {
            PrintError("cannot read '" + action.text + "'");
            return kExitError;
        }
        break;
    case ActionKind::SaveBinary:
        if (SaveBinaryFile(action.text, action.address, action.length) == BinaryResult::CannotWrite)
            return kExitError; // reported by the writer
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
    // A recording that cannot be written is reported by the writer.
    if (!options.recordWav.empty() && !FinishRecording() && status == kExitOk) status = kExitError;
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
    if (!rewind_ || rewind_->FramesSeen() == 0) return line;
    // Host time spent keeping the buffer per emulated second: its share of one core at
    // real time.
    char cost[96];
    std::snprintf(cost, sizeof cost, " rewind-cost=%.3f%% rewind-bytes=%zu",
                  rewind_->SecondsSpent() / (double(rewind_->FramesSeen()) / 50.0) * 100.0, rewind_->Bytes());
    return std::string(line) + cost;
}
