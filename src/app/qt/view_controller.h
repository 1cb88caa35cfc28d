// The View commands: the three window sizes and full screen. Owns the window's geometry:
// at 100%, 200% and 300% the window has the fixed size of its scale; full screen hides
// the menu, the status bar and the mouse cursor and stretches the picture over the
// screen; leaving it puts back the scale, the menu, the cursor and the window's place.
#pragma once

#include <QPoint>

class DisplayPresenter;
class QMainWindow;
class StatusBarPanel;
struct MainMenuActions;

class ViewController {
  public:
    ViewController(QMainWindow* window, DisplayPresenter& presenter, StatusBarPanel& status,
                   const MainMenuActions& actions);

    // Creates the back-end for opt_DrawMode at opt_DrawSize and places the window
    // (start-up, and after anything that changes the display settings).
    void SetUpDisplay();
    void SetWindowScale(int scale); // 1 to 3
    void ToggleFullScreen();
    bool fullScreen() const;

    // The window moved: remember where, unless in full screen.
    void WindowMoved();
    // Puts the window at a remembered place (from the configuration); a place that is on
    // no screen today is brought back onto the primary screen.
    void RestorePlace(int left, int top);
    // The scale of the window outside full screen (1 to 3).
    int windowedScale() const;

  private:
    void TickScale(int scale);
    void PlaceWindow();

    QMainWindow* window_;
    DisplayPresenter& presenter_;
    StatusBarPanel& status_;
    const MainMenuActions& actions_;
    int scaleBeforeFullScreen_ = 1;
    QPoint windowedPosition_;
    bool havePosition_ = false;
    bool switching_ = false; // moves while switching modes are not the user's
};
