// Options, Hardware: the model (its memory limits change at once, the model itself on
// OK) and the sound interface fitted (at once, not kept in the configuration file).
#pragma once

#include <QWidget>

class OptionsHardwarePage : public QWidget {
  public:
    // `modelChanged` is set when a model button is pressed.
    OptionsHardwarePage(bool& modelChanged, QWidget* parent = nullptr);
};
