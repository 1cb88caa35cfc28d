// The software back-end: the widget paints the frame image itself with QPainter,
// scaled without smoothing.
#pragma once

#include <QWidget>

#include "display/qt/frame_view.h"

class SoftwareFrameView : public QWidget, public FrameView {
    Q_OBJECT
  public:
    explicit SoftwareFrameView(QWidget* parent);

    QWidget* widget() override { return this; }
    void ShowFrame(const uint32_t* pixels) override;
    bool Ready() const override { return true; }
    QImage Grab() override;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QImage image_;
};
