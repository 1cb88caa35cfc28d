// Controls of the options pages bound to the option copies of the settings table: each
// shows its setting's copy when made and writes the copy when the user changes it. Each
// control is named after its setting's key ("opt_snd_freq"), so tests can find it.
#pragma once

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include <QStringList>
#include <QWidget>

#include "app/config/settings_table.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;

QCheckBox* BoundCheckBox(const QString& text, const LiveVariable& live, QWidget* parent);
// A slider whose position times `factor` is the setting; `shown` (may be null) gets the
// value through `format` ("%1%" style) whenever it changes.
QSlider* BoundSlider(int low, int high, const LiveVariable& live, QWidget* parent, int factor = 1,
                     QLabel* shown = nullptr, const QString& format = "%1");
// A drop-down list; item n stands for values[n], or for n when `values` is empty.
QComboBox* BoundComboBox(const QStringList& items, const LiveVariable& live, QWidget* parent,
                         const std::vector<long>& values = {});

// A page of check boxes only (the Debugger and Tapes pages).
class CheckBoxPage : public QWidget {
  public:
    CheckBoxPage(const QString& title, std::initializer_list<std::pair<const char*, LiveVariable>> boxes,
                 QWidget* parent = nullptr);
};
