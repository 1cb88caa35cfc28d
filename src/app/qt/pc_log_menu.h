// The Debug menu's PC log items: "PC Logging" and "PC log One frame" start and stop the
// log (debugger/pc_log.h), and their check marks follow the log, also when the frame
// driver ends it by itself.
#pragma once

struct MainMenuActions;
class QObject;

void ConnectPcLogMenu(const MainMenuActions& actions, QObject* owner);
