#include "app/status_text.h"

#include "machine/machine_state.h"

StatusTexts InitialStatusTexts() {
    return {" ", " Frames Per Second: ", " Speed: ", ""};
}

StatusTexts MakeStatusTexts(uint32_t model, uint64_t frames, const std::string& fileName, int scale,
                            const std::string& deck) {
    StatusTexts texts;
    texts.model = std::string(" ") + ModelTable(model).menuText;
    texts.framesPerSecond = " Frames Per Second: " + std::to_string(frames) + "  ";
    texts.speed = " Speed: " + std::to_string(frames * 2) + "%";
    // At 100% the bar is too narrow for a file name.
    if (!fileName.empty() && scale >= 2) texts.currentFile = " Current File: " + fileName;
    // The tape in the deck matters while loading, at any size; the label elides the rest.
    if (!deck.empty()) texts.currentFile += " Deck: " + deck;
    return texts;
}

std::string SpoolingText(int percent) {
    return " Spooling " + std::to_string(percent) + "%";
}
