// Options, Emulation: the speed, the spool speed, the quit question and focus pause.
#pragma once

#include <QWidget>

class OptionsEmulationPage : public QWidget {
  public:
    explicit OptionsEmulationPage(QWidget* parent = nullptr);
};
