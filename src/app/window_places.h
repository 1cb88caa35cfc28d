// Where the windows were last: the main window's place and frame, and the left/top of
// every tool window, as the configuration file's "[Window Placements]" keeps them. A
// tool window reads its place here when it opens and writes it back when it closes.
#pragma once

struct WindowPoint {
    int left = 0, top = 0;
};

// The tool windows, in the order the configuration file lists them.
enum ToolWindow : int {
    kPlaceDebugger,
    kPlaceViewRegisters,
    kPlaceViewMemory,
    kPlaceEditMemory,
    kPlaceViewDisassembly,
    kPlaceCalculator,
    kPlaceSystemVariables,
    kPlaceViewPadSpace,
    kPlaceTapeBrowser,
    kPlaceBreakpoints,
    kPlaceWavBrowser,
    kToolWindowCount
};

extern WindowPoint toolWindowPlaces[kToolWindowCount];
// The presentation's frame size as last set up, and one more value the file keeps.
extern int mainFrameWidth, mainFrameHeight;
extern int windowSizeValue;
