// The main window's status bar: four parts (model, frames per second, speed, current
// file), each of the first three as wide as its text, refreshed at most once a second
// by the main loop. While a text is typed in, "Spooling 40%" covers the bar.
#pragma once

#include <array>

#include <QString>

class QLabel;
class QStatusBar;
struct StatusTexts;

class StatusBarPanel {
  public:
    explicit StatusBarPanel(QStatusBar* bar);

    // Once a second (host time in seconds): show the new texts when updates are enabled,
    // then start counting frames afresh.
    void Update(double now);
    // Full screen has no status bar to update.
    void SetUpdatesEnabled(bool enabled) { enabled_ = enabled; }
    bool updatesEnabled() const { return enabled_; }

    QString PartText(int part) const;
    // A note on the text being typed in (what was left out of it), shown with its
    // progress and for a few seconds after it ends.
    void SetSpoolNote(const QString& note);

  private:
    void Show(const StatusTexts& texts);
    void ShowSpoolProgress();

    QStatusBar* bar_;
    bool showingSpool_ = false;
    QString spoolNote_;
    std::array<QLabel*, 4> parts_{};
    bool enabled_ = true;
    double lastUpdate_ = -1.0;
};
