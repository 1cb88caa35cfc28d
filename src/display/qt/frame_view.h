// A presentation back-end as a widget: it shows the last frame image handed to it,
// scaled to the widget's whole area by nearest-neighbour sampling in device pixels, so
// every Ace pixel stays a sharp block on any screen.
#pragma once

#include <cstdint>

#include <QImage>

class QWidget;

class FrameView {
  public:
    virtual ~FrameView() = default;
    virtual QWidget* widget() = 0;
    // Copies a 384 x 312 image of 0x00RRGGBB pixels and schedules a repaint.
    virtual void ShowFrame(const uint32_t* pixels) = 0;
    // False when set-up failed and the back-end shows nothing.
    virtual bool Ready() const = 0;
    // What the view has on screen now, in device pixels.
    virtual QImage Grab() = 0;
};

// The frame image as an opaque QImage (the frame's top byte is 0, Qt wants 0xFF).
void CopyFrameToImage(const uint32_t* pixels, QImage& image);
