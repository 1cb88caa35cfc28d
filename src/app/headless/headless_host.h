// The Host of noltace-headless: messages go to stderr as one line each, questions are
// answered No, dialogs are cancelled, frames are not shown anywhere.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/host.h"

constexpr const char* kProgramName = "noltace-headless";

// Prints "noltace-headless: TEXT" on stderr.
void PrintError(const std::string& text);

class HeadlessHost : public Host {
  public:
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    // Answers each "Save Tape File" dialog (the ROM's SAVE) with the next of
    // tapeOutFiles; with none left, and for every other dialog, it is cancelled.
    std::string ChooseSaveFile(const FileDialogRequest& request) override;
    // A breakpoint was reached: prints "break at XXXX" and the register rows, and asks
    // the runner to end the action that was running (breakRequested).
    void RunDebugger() override;
    bool ShowsFrames() const override { return false; }

    std::deque<std::string> tapeOutFiles;
    // --break-word names: at the inner interpreter's dispatch only these words stop, with
    // "break in NAME" and the data stack before the register rows.
    std::vector<std::string> breakWords;

    // While held, messages are kept (lastMessage) instead of printed, so the caller can
    // print one line that also says what it was doing.
    bool holdMessages = false;
    int messagesShown = 0;
    bool breakRequested = false;
    std::string lastMessage;
};
