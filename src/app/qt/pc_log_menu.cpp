#include "app/qt/pc_log_menu.h"

#include <QAction>
#include <QPointer>

#include "app/qt/main_menu.h"
#include "app/qt/run_commands.h"
#include "debugger/pc_log.h"

namespace {

QPointer<QAction> loggingItem;

} // namespace

void PcLogMenuStopped(int menuItem) {
    if (menuItem == kPcLoggingMenuItem && loggingItem) loggingItem->setChecked(false);
}

void ConnectPcLogMenu(const MainMenuActions& actions, QObject* owner) {
    loggingItem = actions.pcLogging;
    QObject::connect(actions.pcLogging, &QAction::triggered, owner, [] {
        bool on = false;
        {
            PauseAround pause; // the machine waits while the file is chosen
            on = PcLoggingCommand();
        }
        if (loggingItem) loggingItem->setChecked(on);
    });
    QObject::connect(actions.pcLogOneFrame, &QAction::triggered, owner, [] {
        PauseAround pause; // the machine waits while the file is chosen
        PcLogOneFrameCommand();
    });
}
