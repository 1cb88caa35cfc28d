// Tools, Options: the modal sheet "NoltACE Options" with its eight pages. The pages edit
// the option copies of the settings (app/config/settings_table.h); OK makes them the live
// settings and rebuilds what depends on them, Cancel drops them. A few controls act at
// once and stay changed after Cancel: the memory limits of a model button, the sound
// interface, the ini-beside-the-program box and the joystick search of the Input page.
#pragma once

#include <QDialog>

class MainWindow;
class QTabWidget;

class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit OptionsDialog(QWidget* owner);

    bool modelChanged() const { return modelChanged_; }

  private:
    QTabWidget* pages_ = nullptr;
    bool modelChanged_ = false;
};

// Shows the dialog over `window` and applies its outcome.
void ShowOptionsDialog(MainWindow& window);
