#include "display/qt/software_frame_view.h"

#include <QPainter>

#include "display/renderer.h"

SoftwareFrameView::SoftwareFrameView(QWidget* parent)
    : QWidget(parent), image_(kFrameWidth, kFrameHeight, QImage::Format_RGB32) {
    image_.fill(Qt::black);
    setObjectName("softwareFrameView");
    // The image covers the whole widget: nothing underneath needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void SoftwareFrameView::ShowFrame(const uint32_t* pixels) {
    CopyFrameToImage(pixels, image_);
    update();
}

void SoftwareFrameView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // No smoothing: each Ace pixel becomes a block of whole device pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), image_);
}

QImage SoftwareFrameView::Grab() {
    return grab().toImage();
}
