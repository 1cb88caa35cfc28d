// The Host of the web page: messages appear in the page, questions are asked with the
// browser's own confirm box, frames are turned into the canvas's RGBA pixels, and the
// ROM's SAVE (and any other save dialog) writes into the in-memory file system, from
// where the page offers the file as a download.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/host.h"
#include "display/renderer.h"

class WebHost : public Host {
  public:
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    void PresentFrame() override;
    std::string ChooseSaveFile(const FileDialogRequest& request) override;
    double NowSeconds() override;
    // The page never blocks: pacing is done by the page's own timer.
    void SleepMs(int) override {}
    void SleepUntil(double) override {}

    // Hands every file written since the last call to the page as a download.
    void OfferWrittenFiles();

    // The last presented frame as RGBA bytes for the canvas. Converted only when the
    // page draws (at most once per screen refresh), not for every frame run.
    const uint8_t* CanvasPixels();
    bool frameChanged = false; // a frame was presented since the page last looked

  private:
    uint8_t canvasPixels_[kFrameWidth * kFrameHeight * 4] = {};

    std::vector<std::string> pendingDownloads_;
};

// Where the page's saves are written before they are downloaded.
constexpr const char* kDownloadFolder = "/downloads/";
