// "Go to Address" (Ctrl+G in the code pane, the memory pane and Edit Memory): asks for an
// address as #3C00, $3C00, 0x3C00 or decimal. A text that is no address up to 65535
// shows "Debugger: Not a number or number out of range" and the question stays.
#pragma once

#include <cstdint>
#include <optional>

class QWidget;

// The address, or nothing when the user cancelled.
std::optional<uint32_t> AskGoToAddress(QWidget* parent);
