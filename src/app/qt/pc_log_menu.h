// The Debug menu's PC log items (debugger/pc_log.h): "PC Logging" starts and stops the
// continuous log, and its check mark follows the log, also when it ends by itself;
// "PC log One frame" is a plain command that logs the rest of the current frame.
#pragma once

struct MainMenuActions;
class QObject;

void ConnectPcLogMenu(const MainMenuActions& actions, QObject* owner);
// The log switched itself off: unticks "PC Logging" when that was the log (QtHost).
void PcLogMenuStopped(int menuItem);
