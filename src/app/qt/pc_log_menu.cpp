#include "app/qt/pc_log_menu.h"

#include <QAction>
#include <QPointer>

#include "app/qt/main_menu.h"
#include "app/qt/run_commands.h"
#include "debugger/pc_log.h"
#include "machine/frame.h"

namespace {

QPointer<QAction> loggingItem, oneFrameItem;

void LogStopped(int menuItem) {
    QAction* item = menuItem == kPcLoggingMenuItem ? loggingItem.data() : oneFrameItem.data();
    if (item) item->setChecked(false);
}

} // namespace

void ConnectPcLogMenu(const MainMenuActions& actions, QObject* owner) {
    loggingItem = actions.pcLogging;
    oneFrameItem = actions.pcLogOneFrame;
    pcLogStoppedHandler = LogStopped;
    QObject::connect(actions.pcLogging, &QAction::triggered, owner, [] {
        bool on = false;
        {
            PauseAround pause; // the machine waits while the file is chosen
            on = PcLoggingCommand();
        }
        if (loggingItem) loggingItem->setChecked(on);
    });
    QObject::connect(actions.pcLogOneFrame, &QAction::triggered, owner, [] {
        const bool on = PcLogOneFrameCommand();
        if (oneFrameItem) oneFrameItem->setChecked(on);
    });
}
