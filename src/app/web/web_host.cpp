#include "web_host.h"

#include <emscripten.h>

#include "machine/machine_state.h"
#include "tape/tape_deck.h"

void WebHost::ShowMessage(const std::string& caption, const std::string& text) {
    EM_ASM({ noltacePage.showMessage(UTF8ToString($0), UTF8ToString($1)); }, caption.c_str(), text.c_str());
}

bool WebHost::AskYesNo(const std::string& caption, const std::string& text) {
    return EM_ASM_INT({ return confirm(UTF8ToString($0) + "\n\n" + UTF8ToString($1)) ? 1 : 0; }, caption.c_str(),
                      text.c_str()) != 0;
}

void WebHost::PresentFrame() {
    frameChanged = true;
}

const uint8_t* WebHost::CanvasPixels() {
    // 0x00RRGGBB to the canvas's R, G, B, A bytes. The image is whole between frames.
    uint8_t* out = canvasPixels_;
    for (uint32_t pixel : renderer.frameImage) {
        out[0] = uint8_t(pixel >> 16);
        out[1] = uint8_t(pixel >> 8);
        out[2] = uint8_t(pixel);
        out[3] = 0xFF;
        out += 4;
    }
    return canvasPixels_;
}

namespace {

// The ROM's SAVE names its tape in the header it is about to write: the download keeps it.
std::string SavedTapeName() {
    std::string name;
    for (int k = 1; k <= 10; ++k) {
        const char c = char(machine.ram[kHeaderBufferOffset + k]);
        if (c > ' ' && c < 0x7F && c != '/' && c != '\\') name += c;
    }
    return name.empty() ? "tape" : name;
}

} // namespace

std::string WebHost::ChooseSaveFile(const FileDialogRequest& request) {
    std::string name = request.title == "Save Tape File" ? SavedTapeName() : request.initialName;
    if (name.empty()) name = "noltace";
    const std::string::size_type slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    if (!request.defaultExtension.empty() && name.find('.') == std::string::npos)
        name += "." + request.defaultExtension;
    const std::string path = kDownloadFolder + name;
    pendingDownloads_.push_back(path);
    return path;
}

double WebHost::NowSeconds() {
    return emscripten_get_now() / 1000.0;
}

void WebHost::OfferWrittenFiles() {
    if (tapeDeck.tapSaveFile) return; // the ROM's SAVE has written the header, not yet the data
    for (const std::string& path : pendingDownloads_) {
        EM_ASM({ noltacePage.offerDownload(UTF8ToString($0)); }, path.c_str());
    }
    pendingDownloads_.clear();
}
