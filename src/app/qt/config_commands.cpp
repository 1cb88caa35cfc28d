#include "app/qt/config_commands.h"

#include "app/config/apply_settings.h"
#include "app/config/config_file.h"
#include "app/qt/main_window.h"
#include "app/qt/run_commands.h"
#include "app/qt/view_controller.h"
#include "app/shell_state.h"
#include "display/presentation.h"

namespace config_commands {

namespace {

MainWindow* attached = nullptr;

// The shell's part of every change of settings: the window takes its scale (at the place
// just read, or where it stands) and the display back-end is set up again.
void SettingsApplied(const SettingChanges& changes) {
    if (!attached) return;
    ViewController& view = attached->view();
    if (!view.fullScreen()) {
        const bool placed = changes.Has(&mainWindowPlacement.left) || changes.Has(&mainWindowPlacement.top);
        view.RestorePlace(placed ? mainWindowPlacement.left : attached->x(),
                          placed ? mainWindowPlacement.top : attached->y());
    }
    attached->SetUpDisplay();
}

// New settings bring their own scale: full screen is left first.
void LeaveFullScreen(MainWindow& window) {
    if (window.view().fullScreen()) window.view().ToggleFullScreen();
}

} // namespace

void AttachWindow(MainWindow* window) {
    attached = window;
    settingsAppliedHandler = window ? &SettingsApplied : nullptr;
}

void LoadConfiguration(MainWindow& window) {
    PauseAround pause;
    LeaveFullScreen(window);
    LoadConfig();
}

void SaveConfiguration(MainWindow& window) {
    PauseAround pause;
    StoreWindowPlace(window);
    SaveConfig();
}

void DefaultConfiguration(MainWindow& window) {
    PauseAround pause;
    LeaveFullScreen(window);
    ApplyDefaults();
}

void StoreWindowPlace(MainWindow& window) {
    ViewController& view = window.view();
    if (view.fullScreen()) {
        // The file keeps the windowed scale; the place was noted on entering full screen.
        opt_DrawSize = view.windowedScale();
        return;
    }
    mainWindowPlacement = {window.x(), window.y(), window.width(), window.height()};
}

} // namespace config_commands
