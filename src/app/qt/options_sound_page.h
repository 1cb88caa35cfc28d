// Options, Sound: sound and AY on or off, the enhancement, the output format, the
// buffer length and the volume. A changed format is used from the next sound set-up.
#pragma once

#include <QWidget>

class OptionsSoundPage : public QWidget {
  public:
    explicit OptionsSoundPage(QWidget* parent = nullptr);
};
