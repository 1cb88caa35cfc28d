#include "app/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "app/qt/about_dialog.h"
#include "app/qt/calculator_window.h"
#include "app/qt/forth_export_command.h"
#include "app/qt/config_commands.h"
#include "app/qt/options_dialog.h"
#include "app/qt/display_menu.h"
#include "app/qt/edit_commands.h"
#include "app/qt/file_commands.h"
#include "app/qt/help_box.h"
#include "app/qt/input_routing.h"
#include "app/qt/keyboard_focus.h"
#include "app/qt/main_loop.h"
#include "app/qt/pc_log_menu.h"
#include "app/qt/qt_host.h"
#include "app/qt/recent_files_menu.h"
#include "app/qt/run_commands.h"
#include "app/qt/screenshot_command.h"
#include "app/qt/state_commands.h"
#include "app/qt/status_bar_panel.h"
#include "app/qt/view_controller.h"
#include "app/qt/window_title.h"
#include "app/config/config_file.h"
#include "app/shell_state.h"
#include "display/qt/display_presenter.h"
#include "display/qt/screen_panel.h"
#include "sound/sound_output.h"
#include "tape/qt/tape_browser.h"
#include "tape/qt/wav_browser.h"
#include "tape/wav_deck.h"

MainWindow::MainWindow(QtHost& host, MainLoop& loop) : host_(host), loop_(loop) {
    setObjectName("mainWindow");
    setWindowTitle(MainWindowTitle(false));
    setAcceptDrops(true);
    // The window takes the keys itself: its children never hold the focus.
    setFocusPolicy(Qt::StrongFocus);

    actions_ = BuildMainMenu(this);
    screen_ = new ScreenPanel(this);
    setCentralWidget(screen_);
    status_ = std::make_unique<StatusBarPanel>(statusBar());
    presenter_ = std::make_unique<DisplayPresenter>(screen_);
    view_ = std::make_unique<ViewController>(this, *presenter_, *status_, actions_);

    host_.SetPresenter(presenter_.get());
    loop_.SetStatusBar(status_.get());
    loop_.SetTitleWindow(this);
    recentFiles_ = new RecentFilesMenu(actions_, this);
    loop_.SetPresenter(presenter_.get());
    ConnectCommands();
    for (QObject* menu : actions_.size100->associatedObjects())
        if (auto* viewMenu = qobject_cast<QMenu*>(menu)) AddDisplayChoices(viewMenu, *view_);
    StopSoundWhileMenusAreOpen();
    KeepKeyboardWithScreen(this);
}

MainWindow::~MainWindow() {
    host_.SetPresenter(nullptr);
    loop_.SetStatusBar(nullptr);
    loop_.SetTitleWindow(nullptr);
    loop_.SetPresenter(nullptr);
}

void MainWindow::SetUpDisplay() {
    view_->SetUpDisplay();
}

void MainWindow::ConnectCommands() {
    const MainMenuActions& a = actions_;
    connect(a.quit, &QAction::triggered, this, &MainWindow::Quit);
    connect(a.softReset, &QAction::triggered, this, [] { run_commands::SoftReset(); });
    connect(a.hardReset, &QAction::triggered, this, [] { run_commands::HardReset(); });
    connect(a.generateNmi, &QAction::triggered, this, [] { run_commands::GenerateNmi(); });
    connect(a.size100, &QAction::triggered, this, [this] { view_->SetWindowScale(1); });
    connect(a.size200, &QAction::triggered, this, [this] { view_->SetWindowScale(2); });
    connect(a.size300, &QAction::triggered, this, [this] { view_->SetWindowScale(3); });
    connect(a.fullScreen, &QAction::triggered, this, [this] { view_->ToggleFullScreen(); });
    connect(a.loadCustomRom, &QAction::triggered, this, [] { ChooseCustomRom(); });
    connect(a.loadFile, &QAction::triggered, this, [] { LoadFileCommand(); });
    connect(a.loadSpoolFile, &QAction::triggered, this, [] { LoadSpoolFileCommand(); });
    connect(a.loadBinaryFile, &QAction::triggered, this, [this] { ShowLoadBinaryFileDialog(this); });
    connect(a.saveBinaryFile, &QAction::triggered, this, [this] { ShowSaveBinaryFileDialog(this); });
    connect(a.saveSnapshot, &QAction::triggered, this, [] { SaveSnapshotCommand(); });
    connect(a.saveScreenshot, &QAction::triggered, this, [this] { SaveScreenshotCommand(this, *presenter_); });
    connect(a.dev, &QAction::triggered, this, [] { DevCommand(); });
    connect(a.displayKeyboard, &QAction::triggered, this, &MainWindow::DisplayKeyboard);
    connect(a.keyboardHelper, &QAction::triggered, this, &MainWindow::KeyboardHelper);
    connect(a.tapeBrowser, &QAction::triggered, this, [this] { OpenTapeBrowser(this); });
    connect(a.wavBrowser, &QAction::triggered, this, [this] { OpenWavBrowser(this); });
    connect(a.debugger, &QAction::triggered, this, [this] {
        if (!view_->fullScreen()) run_commands::RunDebugger();
    });
    connect(a.calculator, &QAction::triggered, this, [this] { OpenCalculator(this); });
    connect(a.exportForthSource, &QAction::triggered, this, [this] { ExportForthSourceCommand(this); });
    ConnectPcLogMenu(a, this);
    connect(a.options, &QAction::triggered, this, [this] { ShowOptionsDialog(*this); });
    connect(a.loadConfiguration, &QAction::triggered, this, [this] { config_commands::LoadConfiguration(*this); });
    connect(a.saveConfiguration, &QAction::triggered, this, [this] { config_commands::SaveConfiguration(*this); });
    connect(a.defaultConfiguration, &QAction::triggered, this,
            [this] { config_commands::DefaultConfiguration(*this); });
    connect(a.about, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(a.help, &QAction::triggered, this, [this] { ShowHelpBox(this); });
    // Esc stops typing a spool before it pauses.
    connect(a.pause, &QAction::triggered, this, [] {
        if (!edit_commands::CancelSpooling()) run_commands::TogglePause();
    });
    connect(a.pasteText, &QAction::triggered, this, [this] { edit_commands::PasteText(*status_); });
    connect(a.copyScreenText, &QAction::triggered, this, [] { edit_commands::CopyScreenText(); });
    connect(a.cancelSpooling, &QAction::triggered, this, [] { edit_commands::CancelSpooling(); });
    connect(a.fast, &QAction::triggered, this, [] { run_commands::ToggleFast(); });
    for (int slot = 1; slot <= state_commands::kSlots; ++slot) {
        connect(a.quickSave[slot - 1], &QAction::triggered, this, [slot] { state_commands::QuickSave(slot); });
        connect(a.quickLoad[slot - 1], &QAction::triggered, this, [slot] { state_commands::QuickLoad(slot); });
    }
    connect(a.rewind, &QAction::triggered, this, [this] { state_commands::Rewind(loop_); });
    // Whatever a command does to the machine happens between frames, where the rewind
    // buffer's replay would not see it: the next frame keeps a state of its own.
    for (QAction* action : findChildren<QAction*>())
        if (action != a.rewind)
            connect(action, &QAction::triggered, this, [this] { loop_.rewind().MachineChanged(); });
    // Menu items made later (File, Recent Files) come through their menu bar.
    connect(menuBar(), &QMenuBar::triggered, this, [this](QAction* action) {
        if (action != actions_.rewind) loop_.rewind().MachineChanged();
    });
}

void MainWindow::StopSoundWhileMenusAreOpen() {
    for (QAction* entry : menuBar()->actions()) {
        QMenu* menu = entry->menu();
        if (!menu) continue;
        connect(menu, &QMenu::aboutToShow, this, [] {
            if (!wavPlaying) PauseSound(true);
        });
        connect(menu, &QMenu::aboutToHide, this, [] {
            if (!wavPlaying) PauseSound(false);
        });
    }
}

void MainWindow::ShowAbout() {
    AboutDialog about(this);
    presenter_->PresentFrame();
    about.exec();
}

void MainWindow::DisplayKeyboard() {
    PauseAround pause;
    ShowKeyboardPicture(this);
}

void MainWindow::KeyboardHelper() {
    ShowKeyboardHelper(this);
}

bool MainWindow::ToolWindowActive() const {
    return KeyboardHelperIsOpen() || OpenTapeBrowserWindow() || OpenWavBrowserWindow();
}

void MainWindow::Quit() {
    if (!run_commands::ConfirmQuit()) return;
    config_commands::StoreWindowPlace(*this);
    SaveConfig();
    if (wavDeck.recordPrepared) FinishRecording(); // a recording in progress is not lost
    ShutdownSound();
    presenter_->TearDownDisplay();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
    hide();
    loop_.RequestQuit(0);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // A key repeating while a menu is open is not for the Ace: its release goes to the menu.
    if (QApplication::activePopupWidget() || !RouteKeyPress(*event)) QMainWindow::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    if (!RouteKeyRelease(*event)) QMainWindow::keyReleaseEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            run_commands::FocusGained();
        else
            run_commands::FocusLost(ToolWindowActive());
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::focusOutEvent(QFocusEvent* event) {
    ScreenLostKeyboard();
    QMainWindow::focusOutEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing goes through the same question as File, Quit; the loop ends the program.
    event->ignore();
    Quit();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    view_->WindowMoved();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    const QList<QUrl> urls = data->urls();
    // A file, or text (dragged from an editor) to type in.
    if ((!urls.isEmpty() && urls.first().isLocalFile()) || (urls.isEmpty() && data->hasText()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() && data->hasText()) {
        event->acceptProposedAction();
        edit_commands::TypeText(data->text(), *status_);
        return;
    }
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    LoadDroppedFile(this, urls.first().toLocalFile());
    loop_.rewind().MachineChanged();
}
