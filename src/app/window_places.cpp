#include "app/window_places.h"

WindowPoint toolWindowPlaces[kToolWindowCount];
int mainFrameWidth = 452, mainFrameHeight = 312;
int windowSizeValue = 1;
