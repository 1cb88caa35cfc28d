// The debugger's FORTH-level parts, added to a DebuggerWindow: the "FORTH" tab with the
// stacks, the word list with the selected word decompiled beside it, and "Step Word",
// "Step Into Word" and "Step Out Of Word" in the Run menu.
#pragma once

class DebuggerWindow;

void ConnectForthDebugging(DebuggerWindow& window);
