// The View menu's display choices: the presentation back-end ("Software", "OpenGL",
// "OpenGL Shaders") and the shader. Choosing a shader also chooses the shader back-end.
// Both set the display options (opt_DrawMode, opt_shader) and set the display up again.
#pragma once

class QMenu;
class ViewController;

void AddDisplayChoices(QMenu* viewMenu, ViewController& view);
