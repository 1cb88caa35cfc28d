#include "headless_host.h"

#include <cstdio>

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
