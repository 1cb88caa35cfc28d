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

// The message codes, in blocks of ten per subsystem; the box shows them in hexadecimal.
enum MessageCode : int {
    kMsgCannotBeginExecute = 1,
    kMsgRomMissing = 2,
    kMsgRomWrongLength = 3,
    kMsgOutOfMemory = 4,
    kMsgConfigMissing = 5,
    kMsgConfigCorrupt = 6,
    kMsgTooManyBreakpoints = 7,
    kMsgWordListMemory = 8,
    kMsgSnapshotCannotLoad = 10,
    kMsgSnapshotMissing = 11,
    kMsgSnapshotLength = 12,
    kMsgFileNotFound = 13,
    kMsgCannotWriteFile = 14,
    kMsgNotText = 15,
    kMsgTapeMissing = 20,
    kMsgTapeLength = 21,
    kMsgTapeUnknownExtension = 22,
    kMsgTapeReadError = 23,
    kMsgTapeInDeck = 24,
    kMsgNoTape = 25,
    kMsgNotPcmWav = 26,
    kMsgNotTzx = 27,
    kMsgUnknownTzxBlock = 28,
    kMsgTapeEmpty = 29,
    kMsgDisplayCreate = 30, // 30 to 44: the software display's steps
    kMsgOpenGlContext = 50, // 50 to 53: OpenGL's steps
    kMsgOpenGlDevice = 51,
    kMsgOpenGlTexture = 52,
    kMsgOpenGlLock = 53,
    kMsgSoundInit = 60, // 60 to 67: the sound device's steps
    kMsgSoundObject = 61,
    kMsgSoundCooperativeLevel = 62,
    kMsgSoundBuffer = 63,
    kMsgSoundStreamOpen = 64,
    kMsgSoundStreamStart = 65,
    kMsgSoundBits = 66,
    kMsgSoundChannels = 67,
    kMsgBytesNotFound = 80,
    kMsgTextNotFound = 81,
    kMsgBadNumber = 82,
    kMsgJoystickStart = 96,
    kMsgJoystickCapabilities = 101,
    kMsgJoystickAxes = 102,
    kMsgJoystickNoDevice = 103,
    kMsgJoystickRead = 104,
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
