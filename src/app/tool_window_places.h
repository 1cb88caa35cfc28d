// Where the debugger's tool windows were when they last closed, so that they open there
// again. The configuration file stores them in [Window Placements] ("Calculator=",
// "Edit Memory=", "System Variables=", "View PAD Space=").
#pragma once

struct ToolWindowPlace {
    int left = -1, top = -1; // -1: never placed, let the window system choose
    bool known() const { return left >= 0 && top >= 0; }
};

extern ToolWindowPlace calculatorPlace;
extern ToolWindowPlace editMemoryPlace;
extern ToolWindowPlace systemVariablesPlace;
extern ToolWindowPlace viewPadPlace;

void ResetToolWindowPlaces();
