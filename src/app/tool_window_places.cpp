#include "app/tool_window_places.h"

ToolWindowPlace calculatorPlace;
ToolWindowPlace editMemoryPlace;
ToolWindowPlace systemVariablesPlace;
ToolWindowPlace viewPadPlace;

void ResetToolWindowPlaces() {
    calculatorPlace = editMemoryPlace = systemVariablesPlace = viewPadPlace = ToolWindowPlace{};
}
