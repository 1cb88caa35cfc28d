// The main window's central area: the frame view, with a 5-pixel margin of window
// background around it in a window, or centred on black in full screen.
#pragma once

#include <QWidget>

class ScreenPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ScreenPanel(QWidget* parent);

    // The view shown in the panel (owned by the panel as a child widget; nullptr for none).
    void SetView(QWidget* view);
    QWidget* view() const { return view_; }

    // Window scale 1 to 3 fixes the panel's size; 4 lets it fill its window.
    void SetScale(int scale);
    int scale() const { return scale_; }

  protected:
    void resizeEvent(QResizeEvent*) override;

  private:
    void PlaceView();

    QWidget* view_ = nullptr;
    int scale_ = 1;
};
