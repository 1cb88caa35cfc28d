#include "headless_host.h"

#include <algorithm>
#include <cstdio>

#include "debugger/breakpoints.h"
#include "debugger/debugger_text.h"
#include "debugger/forth_stack.h"
#include "debugger/forth_word_break.h"
#include "machine/machine_state.h"

void PrintError(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, text.c_str());
}

void HeadlessHost::ShowMessage(const std::string& caption, const std::string& text) {
    ++messagesShown;
    lastMessage = text;
    if (!holdMessages) PrintError(caption + ": " + text);
}

bool HeadlessHost::AskYesNo(const std::string& caption, const std::string& text) {
    // Nobody can answer: the cautious answer, said once on stderr so it is not silent.
    std::string oneLine = text;
    for (char& c : oneLine)
        if (c == '\n') c = ' ';
    PrintError(caption + ": " + oneLine + " -> No");
    return false;
}

std::string HeadlessHost::ChooseSaveFile(const FileDialogRequest& request) {
    if (request.title != "Save Tape File" || tapeOutFiles.empty()) return {};
    std::string path = tapeOutFiles.front();
    tapeOutFiles.pop_front();
    return path;
}

void HeadlessHost::RunDebugger() {
    if (!breakWords.empty() && machine.pc == kForthDispatch) {
        const std::string name = ForthWordNameAt(WordBeingEntered());
        if (std::find(breakWords.begin(), breakWords.end(), name) == breakWords.end()) return;
        std::printf("break in %s\n%s\n", name.c_str(), FormatForthDataStack(ReadForthDataStack(), 10).c_str());
    } else {
        const std::string watch = WatchHitText();
        if (watch.empty())
            std::printf("break at %04X\n", machine.pc);
        else
            std::printf("break at %04X (%s)\n", machine.pc, watch.c_str());
    }
    for (const std::string& row : RegisterPaneRows()) std::printf("%s\n", row.c_str());
    breakRequested = true;
}
