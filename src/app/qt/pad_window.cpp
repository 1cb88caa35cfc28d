#include "app/qt/pad_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>

#include "app/qt/app_fonts.h"
#include "base/window_places.h"
#include "debugger/forth_views.h"

namespace {
QPointer<PadWindow> openWindow;
constexpr int kMargin = 6;
} // namespace

PadWindow::PadWindow(QWidget* parent) : DebuggerToolWindow(parent, kPlaceViewPadSpace) {
    setObjectName("VIEW_PAD");
    setWindowTitle("View Pad Space");
    setFont(ListingFont());
    const QFontMetrics metrics(font());
    // Measured on a real row: the fallback for Consolas need not be strictly fixed-pitch.
    const QString widest = QString::fromStdString(PadRows().front()).replace(QRegularExpression("[^ ]"), "W");
    setFixedSize(2 * kMargin + metrics.boundingRect(widest).width() + 8,
                 2 * kMargin + kPadRows * metrics.height());
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    // Memory changes under the window (the debugger steps, tools write): look again
    // a few times a second.
    startTimer(250);
}

void PadWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font());
    int y = kMargin + metrics.ascent();
    for (const std::string& row : PadRows()) {
        painter.drawText(kMargin, y, QString::fromStdString(row));
        y += metrics.height();
    }
}

void PadWindow::timerEvent(QTimerEvent*) {
    update();
}

void OpenPadWindow(QWidget* parent) {
    if (openWindow) return;
    openWindow = new PadWindow(parent);
    openWindow->show();
}

PadWindow* OpenPad() {
    return openWindow.data();
}
