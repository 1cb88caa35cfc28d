// The one message routine: every error or notice shown to the user goes through
// ReportMessage with a caption kind and a stable message code. The text is the code in
// two hexadecimal digits, " - ", and the code's fixed message, e.g. "02 - ROM missing".
#pragma once

#include <cstdint>
#include <string>

enum CaptionKind : uint8_t {
    kCaptionError = 0,
    kCaptionDebug = 1,
    kCaptionDisplay = 2,
    kCaptionFile = 3,
    kCaptionOptions = 4,
    kCaptionSound = 5,
    kCaptionPoke = 6,
};

const char* MessageCaption(uint8_t kind); // "" for an unknown kind
const char* MessageText(int code);        // "" for codes with no text
std::string FormatMessage(int code);      // "%02X - " and the text

// Shows the message modally through the host; always returns true, which callers pass
// on as their own "failed and reported" result.
bool ReportMessage(uint8_t kind, int code);
// The same with what only the moment knows (the file's path, the driver's log) on the
// lines below the fixed text.
bool ReportMessage(uint8_t kind, int code, const std::string& detail);

// Called with true before a box shows and false after it closes. The sound module
// installs its pause here, so the stream stops while the user reads a box.
void SetMessageBoxPause(void (*pause)(bool stop));

// The last report, kept until the next one (tests and the headless runner read it).
struct LastReport {
    std::string caption;
    std::string text;
    int code = -1;
};
const LastReport& LastReportedMessage();
void ClearLastReportedMessage();
