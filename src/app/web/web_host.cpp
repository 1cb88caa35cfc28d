#include "web_host.h"

#include <emscripten.h>

#include "display/display_settings.h"
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
    return reinterpret_cast<const uint8_t*>(renderer.frameImage);
}

namespace {

uint32_t CanvasWord(uint32_t rgb) {
    return 0xFF000000u | (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
}

} // namespace

void UseColourScheme(int scheme) {
    if (scheme < 0 || scheme >= kColourSchemeCount) return; // the colours would be turned twice
    opt_colours = scheme;
    ApplyColourScheme(scheme);
    renderer.inkColour = CanvasWord(renderer.inkColour);
    renderer.paperColour = CanvasWord(renderer.paperColour);
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
    if (tapeDeck.tapSave) return; // the ROM's SAVE has written the header, not yet the data
    for (const std::string& path : pendingDownloads_) {
        EM_ASM({ noltacePage.offerDownload(UTF8ToString($0)); }, path.c_str());
    }
    pendingDownloads_.clear();
}
