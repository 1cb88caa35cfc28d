// The Tools menu's configuration commands and what the window does when settings change
// underneath it: the display is set up again and the window goes to its stored place.
#pragma once

class MainWindow;

namespace config_commands {

// Lets a configuration load or the defaults re-create `window`'s display (nullptr: none).
void AttachWindow(MainWindow* window);

// Tools, Load Configuration: read noltace.ini again and apply it.
void LoadConfiguration(MainWindow& window);
// Tools, Save Configuration: write the settings and the window's place now.
void SaveConfiguration(MainWindow& window);
// Tools, Default Configuration: every setting back to its default, applied and written.
void DefaultConfiguration(MainWindow& window);

// Notes the window's place and scale in the settings (before a write).
void StoreWindowPlace(MainWindow& window);

} // namespace config_commands
