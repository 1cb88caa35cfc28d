// What a loader did with a file: every loader answers with the same two words, so a
// caller never has to remember whether true meant "loaded" or "failed and reported".
// Why a file did not load has already been shown through ReportMessage where the
// loader's route reports it.
//
//   if (LoadRomFile(path, "ACE.ROM") != LoadResult::Loaded) return 1;
//   return ReportLoadFailure(kCaptionError, kMsgNotPcmWav); // reports, then Failed
#pragma once

#include <cstdint>
#include <string>

#include "base/messages.h"

enum class LoadResult : uint8_t { Loaded, Failed };

inline LoadResult LoadedIf(bool loaded) {
    return loaded ? LoadResult::Loaded : LoadResult::Failed;
}

inline LoadResult ReportLoadFailure(uint8_t kind, int code) {
    ReportMessage(kind, code);
    return LoadResult::Failed;
}

inline LoadResult ReportLoadFailure(uint8_t kind, int code, const std::string& detail) {
    ReportMessage(kind, code, detail);
    return LoadResult::Failed;
}
