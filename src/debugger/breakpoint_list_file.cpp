#include "debugger/breakpoint_list_file.h"

#include <sstream>

#include "debugger/breakpoints.h"

namespace {

constexpr BreakKind kKinds[] = {BreakKind::Execute, BreakKind::Write, BreakKind::Read, BreakKind::Port};

} // namespace

std::string FormatBreakpointList() {
    std::string text;
    for (int k = 0; k < breakpointState.breakpointCount; ++k) {
        const Breakpoint& entry = breakpointState.breakpoints[k];
        text += std::string(BreakKindText(entry.kind)) + " " + BreakpointAddressText(k) + " " +
                (entry.active ? "NO" : "YES");
        if (!entry.conditionText.empty()) text += " " + entry.conditionText;
        text += "\n";
    }
    return text;
}

int ParseBreakpointList(const std::string& text) {
    ClearBreakpoints();
    int skipped = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::istringstream fields(line);
        std::string kindText, address, active, condition;
        fields >> kindText >> address >> active;
        std::getline(fields >> std::ws, condition);
        const BreakKind* kind = nullptr;
        for (const BreakKind& k : kKinds)
            if (kindText == BreakKindText(k)) kind = &k;
        if (!kind || (active != "YES" && active != "NO") ||
            AddBreakpoint(address, condition, *kind) != BreakpointResult::Ok) {
            ++skipped;
            continue;
        }
        if (active == "NO")
            UpdateBreakpoint(breakpointState.breakpointCount - 1, address, condition, false, *kind);
    }
    return skipped;
}
