#include "app/paste_text.h"

#include "app/keyboard.h"

AceText AceTextFrom(const std::u32string& text) {
    AceText ace;
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n') {
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
            ace.text += '\r';
        } else if (c == U' ' || c == U'\t') {
            ace.text += ' ';
        } else if (const int code = AceCodeForCharacter(c); code >= 0) {
            ace.text += char(code);
        } else {
            ++ace.leftOut;
        }
    }
    return ace;
}

std::string LeftOutMessage(int leftOut) {
    if (leftOut <= 0) return {};
    return std::to_string(leftOut) + (leftOut == 1 ? " character" : " characters") +
           " the Ace cannot type " + (leftOut == 1 ? "was" : "were") + " left out";
}
