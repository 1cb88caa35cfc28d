// The main window "NoltACE v1.06": the menus, the screen and the four-part status bar.
// It only routes: menu commands go to the small command modules (run_commands.h,
// view_controller.h, file_commands.h), keys to the keyboard (input_routing.h), dropped
// files to the loaders.
#pragma once

#include <memory>

#include <QMainWindow>

#include "app/qt/main_menu.h"

class DisplayPresenter;
class MainLoop;
class QtHost;
class RecentFilesMenu;
class ScreenPanel;
class StatusBarPanel;
class ViewController;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(QtHost& host, MainLoop& loop);
    ~MainWindow() override;

    // Creates the display back-end for the configured mode and scale and sizes the window.
    void SetUpDisplay();
    // The orderly exit: asks first (when configured to), then ends the main loop.
    void Quit();

    ScreenPanel* screenPanel() const { return screen_; }
    StatusBarPanel& statusPanel() { return *status_; }
    DisplayPresenter& presenter() { return *presenter_; }
    ViewController& view() { return *view_; }
    const MainMenuActions& actions() const { return actions_; }
    RecentFilesMenu& recentFiles() { return *recentFiles_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void ConnectCommands();
    void StopSoundWhileMenusAreOpen();
    void ShowAbout();
    void DisplayKeyboard();
    void KeyboardHelper();
    // True when the focus went to a tool window that keeps the machine running.
    bool ToolWindowActive() const;

    QtHost& host_;
    MainLoop& loop_;
    MainMenuActions actions_{};
    ScreenPanel* screen_ = nullptr;
    std::unique_ptr<StatusBarPanel> status_;
    std::unique_ptr<DisplayPresenter> presenter_;
    std::unique_ptr<ViewController> view_;
    RecentFilesMenu* recentFiles_ = nullptr; // a child of the window
};
