#include "debugger/forth_word_break.h"

#include <cstdio>

#include "debugger/breakpoints.h"
#include "debugger/forth_decompiler.h"
#include "debugger/forth_stack.h"
#include "machine/machine_state.h"

std::string WordBreakCondition(const ForthWord& word) {
    char text[16];
    std::snprintf(text, sizeof text, "DE=#%04X", unsigned(word.header + 3u) & 0xFFFF);
    return text;
}

uint16_t WordBeingEntered() {
    return uint16_t(machine.de.w - 2);
}

std::string ForthWordNameAt(uint16_t cfa) {
    return ForthNameAt(cfa).value_or("");
}

std::string BreakpointWordName(int index) {
    if (index < 0 || index >= breakpointState.breakpointCount) return "";
    const Breakpoint& b = breakpointState.breakpoints[index];
    if (b.address != kForthDispatch || !b.hasCondition || b.conditionOperator != kConditionEqual ||
        std::string(kConditionRegisterNames[b.conditionRegister]) != "DE")
        return "";
    return ForthWordNameAt(uint16_t(b.conditionValue - 2));
}

bool WordBreakpointFields(const std::string& text, std::string& address, std::string& condition) {
    if (text.empty() || parseNumber(text)) return false;
    const std::optional<ForthWord> word = FindRamWord(text);
    if (!word) return false;
    address = "#04C5";
    condition = WordBreakCondition(*word);
    return true;
}

std::string BreakpointPlaceText(int index) {
    const std::string name = BreakpointWordName(index);
    return name.empty() ? BreakpointAddressText(index) : name;
}

std::string DispatchDescription() {
    std::string text = ForthWordNameAt(WordBeingEntered());
    if (text.empty()) {
        char address[8];
        std::snprintf(address, sizeof address, "%04X", WordBeingEntered());
        text = address;
    }
    const std::vector<ReturnStackEntry> returns = ReadForthReturnStack();
    if (!returns.empty() && !returns.front().word.empty())
        text += " in " + returns.front().word + "+" + std::to_string(returns.front().offset);
    return text;
}
