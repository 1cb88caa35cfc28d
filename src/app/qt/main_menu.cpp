#include "app/qt/main_menu.h"

#include <initializer_list>

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* AddCommand(QMainWindow* window, QMenu* menu, const char* name, const char* text,
                    QKeySequence shortcut = {}) {
    auto* action = new QAction(QString::fromUtf8(text), window);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Also on the window itself: the shortcut must work while the menu bar is hidden.
        window->addAction(action);
    }
    if (menu) menu->addAction(action);
    return action;
}

} // namespace

QAction* MainMenuActions::SizeAction(int scale) const {
    switch (scale) {
    case 1: return size100;
    case 2: return size200;
    case 3: return size300;
    default: return fullScreen;
    }
}

MainMenuActions BuildMainMenu(QMainWindow* window) {
    MainMenuActions a{};
    QMenuBar* bar = window->menuBar();

    QMenu* file = bar->addMenu("&File");
    a.loadFile = AddCommand(window, file, "loadFile", "&Load File...");
    a.loadSpoolFile = AddCommand(window, file, "loadSpoolFile", "Load &Spool File...");
    a.loadBinaryFile = AddCommand(window, file, "loadBinaryFile", "Load &Binary File...");
    a.saveBinaryFile = AddCommand(window, file, "saveBinaryFile", "Save B&inary File...");
    a.saveSnapshot = AddCommand(window, file, "saveSnapshot", "Save S&napshot...");
    a.saveScreenshot = AddCommand(window, file, "saveScreenshot", "Save Sc&reenshot...");
    file->addSeparator();
    a.quit = AddCommand(window, file, "quit", "&Quit");

    QMenu* edit = bar->addMenu("&Edit");
    a.pasteText = AddCommand(window, edit, "pasteText", "&Paste Text", QKeySequence(kPasteTextShortcut));
    a.copyScreenText = AddCommand(window, edit, "copyScreenText", "&Copy Screen Text");
    edit->addSeparator();
    a.cancelSpooling = AddCommand(window, edit, "cancelSpooling", "C&ancel Spooling");

    QMenu* emulation = bar->addMenu("E&mulation");
    a.softReset = AddCommand(window, emulation, "softReset", "&Soft Reset");
    a.hardReset = AddCommand(window, emulation, "hardReset", "&Hard Reset");
    a.generateNmi = AddCommand(window, emulation, "generateNmi", "Generate &NMI", Qt::Key_F3);
    emulation->addSeparator();
    // Alt is no key of the Ace: Alt+digit never types into the machine.
    QMenu* quickSave = emulation->addMenu("Quick &Save");
    QMenu* quickLoad = emulation->addMenu("Quick &Load");
    for (int slot = 1; slot <= 9; ++slot) {
        const QByteArray text = QString("Slot &%1").arg(slot).toUtf8();
        const auto digit = Qt::Key(Qt::Key_0 + slot);
        a.quickSave[slot - 1] = AddCommand(window, quickSave, QString("quickSave%1").arg(slot).toUtf8().constData(),
                                           text.constData(), QKeySequence(Qt::ALT | Qt::SHIFT | digit));
        a.quickLoad[slot - 1] = AddCommand(window, quickLoad, QString("quickLoad%1").arg(slot).toUtf8().constData(),
                                           text.constData(), QKeySequence(Qt::ALT | digit));
    }
    a.rewind = AddCommand(window, emulation, "rewind", "&Rewind", Qt::Key_F8);

    QMenu* view = bar->addMenu("&View");
    a.size100 = AddCommand(window, view, "size100", "&100%");
    a.size200 = AddCommand(window, view, "size200", "&200%");
    a.size300 = AddCommand(window, view, "size300", "&300%");
    a.fullScreen = AddCommand(window, view, "fullScreen", "&Full Screen", Qt::Key_F4);
    // Alt+Enter as well, the key other emulators and players use for it.
    a.fullScreen->setShortcuts({QKeySequence(Qt::Key_F4), QKeySequence(Qt::ALT | Qt::Key_Return),
                                QKeySequence(Qt::ALT | Qt::Key_Enter)});
    auto* sizes = new QActionGroup(window);
    for (QAction* action : {a.size100, a.size200, a.size300, a.fullScreen}) {
        action->setCheckable(true);
        sizes->addAction(action);
    }

    QMenu* tools = bar->addMenu("&Tools");
    a.options = AddCommand(window, tools, "options", "&Options...");
    a.tapeBrowser = AddCommand(window, tools, "tapeBrowser", "&Tape Browser");
    a.wavBrowser = AddCommand(window, tools, "wavBrowser", "&WAV Browser");
    a.calculator = AddCommand(window, tools, "calculator", "&Calculator");
    a.exportForthSource = AddCommand(window, tools, "exportForthSource", "Export FORTH Source...");
    tools->addSeparator();
    a.loadCustomRom = AddCommand(window, tools, "loadCustomRom", "Load Custom &ROM...");
    tools->addSeparator();
    a.loadConfiguration = AddCommand(window, tools, "loadConfiguration", "&Load Configuration");
    a.saveConfiguration = AddCommand(window, tools, "saveConfiguration", "&Save Configuration");
    a.defaultConfiguration = AddCommand(window, tools, "defaultConfiguration", "&Default Configuration");
    tools->addSeparator();
    a.displayKeyboard = AddCommand(window, tools, "displayKeyboard", "Display &Keyboard");
    a.keyboardHelper = AddCommand(window, tools, "keyboardHelper", "Keyboard &Helper");

    QMenu* debug = bar->addMenu("&Debug");
    a.debugger = AddCommand(window, debug, "debugger", "&Debugger", Qt::Key_F5);
    a.pcLogging = AddCommand(window, debug, "pcLogging", "&PC Logging");
    a.pcLogging->setCheckable(true);
    // A one-shot command: it logs one frame and is done, so it has no check mark.
    a.pcLogOneFrame = AddCommand(window, debug, "pcLogOneFrame", "PC log &One frame");

    QMenu* help = bar->addMenu("&Help");
    a.about = AddCommand(window, help, "about", "&About");
    a.help = AddCommand(window, help, "help", "&Help");

    a.pause = AddCommand(window, nullptr, "pause", "Pause", Qt::Key_Escape);
    a.fast = AddCommand(window, nullptr, "fast", "Fast", Qt::Key_F2);
    a.dev = AddCommand(window, nullptr, "dev", "Dev", Qt::Key_F6);
    return a;
}
