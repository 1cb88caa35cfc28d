// Options, Input: the game controller to use and what it emulates. Opening the page
// looks for controllers again; without one, joystick emulation is switched off at once.
#pragma once

#include <QWidget>

class OptionsInputPage : public QWidget {
  public:
    explicit OptionsInputPage(QWidget* parent = nullptr);
};
