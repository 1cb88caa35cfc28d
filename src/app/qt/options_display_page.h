// Options, Display: the presentation back-end, the shader (only with the shader
// back-end), the colour scheme and the frameskip.
#pragma once

#include <QWidget>

class OptionsDisplayPage : public QWidget {
  public:
    explicit OptionsDisplayPage(QWidget* parent = nullptr);
};
