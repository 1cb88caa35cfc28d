#include "debugger/qt/text_lines_view.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

constexpr int kMargin = 3;
constexpr int kWheelNotch = 120;
const QColor kHighlightBack(0, 0, 160);
const QColor kMarkBack(255, 200, 200);

} // namespace

QFont DebuggerFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

TextLinesView::TextLinesView(int rows, int columns, QWidget* parent)
    : QWidget(parent), rows_(rows), columns_(columns) {
    setFont(DebuggerFont());
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TextLinesView::SetLines(const QStringList& lines, int highlightedRow, const QSet<int>& markedRows) {
    lines_ = lines;
    highlighted_ = highlightedRow;
    marked_ = markedRows;
    update();
}

int TextLinesView::LineHeight() const {
    return fontMetrics().lineSpacing();
}

int TextLinesView::RowAt(const QPoint& point) const {
    const int row = (point.y() - kMargin) / LineHeight();
    return point.y() >= kMargin && row < rows_ ? row : -1;
}

QSize TextLinesView::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(QString(columns_, 'W')) + 2 * kMargin,
            rows_ * LineHeight() + 2 * kMargin};
}

void TextLinesView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int height = LineHeight();
    const int ascent = fontMetrics().ascent();
    for (int row = 0; row < lines_.size() && row < rows_; ++row) {
        const QRect band(0, kMargin + row * height, width(), height);
        if (row == highlighted_) {
            painter.fillRect(band, kHighlightBack);
            painter.setPen(Qt::white);
        } else {
            if (marked_.contains(row)) painter.fillRect(band, kMarkBack);
            painter.setPen(Qt::black);
        }
        painter.drawText(kMargin, band.top() + ascent, lines_[row]);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TextLinesView::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches) emit WheelNotches(notches);
    event->accept();
}

void TextLinesView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        emit KeyPressed(event->key());
        event->accept();
        return;
    default: QWidget::keyPressEvent(event);
    }
}

void TextLinesView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (row >= 0) emit RowDoubleClicked(row);
}
