#include "app/shell_state.h"

std::string executableFolder;
std::string configFolder;
bool iniInExecutableFolder = false;

uint8_t opt_exit_msg = 1;
uint8_t opt_focus_on = 0;

WindowPlacement mainWindowPlacement;

void ResetShellSettings() {
    opt_exit_msg = 1;
    opt_focus_on = 0;
    mainWindowPlacement = {};
}
