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

    // The last presented frame as the canvas's R, G, B, A bytes: frameImage itself,
    // which the renderer draws in that order in this build (UseColourScheme).
    const uint8_t* CanvasPixels();
    bool frameChanged = false; // a frame was presented since the page last looked

  private:
    std::vector<std::string> pendingDownloads_;
};

// Colour scheme 0-4 for the page. The canvas takes each pixel as R, G, B, A bytes, a
// word 0xAABBGGRR on this little-endian machine: given its ink and paper in that order,
// the renderer draws the canvas's own pixels and no frame needs converting.
void UseColourScheme(int scheme);

// Where the page's saves are written before they are downloaded.
constexpr const char* kDownloadFolder = "/downloads/";
