#include "app/qt/edit_memory_window.h"

#include <QAction>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/qt/app_fonts.h"
#include "base/window_places.h"
#include "debugger/qt/go_to_address.h"

namespace {

QPointer<EditMemoryWindow> openWindow;
constexpr int kMargin = 6;
constexpr int kWheelNotch = 120;

} // namespace

MemoryEditorView::MemoryEditorView(MemoryEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName("memoryView");
    setFont(ListingFont());
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QSize MemoryEditorView::sizeHint() const {
    const QFontMetrics metrics(font());
    // Measured on a real row: the fallback for Consolas need not be strictly fixed-pitch.
    const QString widest =
        QString::fromStdString(editor_.Rows().front()).replace(QRegularExpression("[^ ]"), "W");
    return {2 * kMargin + metrics.boundingRect(widest).width() + 8,
            2 * kMargin + MemoryEditor::kRows * metrics.height()};
}

void MemoryEditorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const std::vector<std::string> rows = editor_.Rows();
    for (int r = 0; r < int(rows.size()); ++r) {
        const QString text = QString::fromStdString(rows[size_t(r)]);
        const int top = kMargin + r * metrics.height();
        const int baseline = top + metrics.ascent();
        painter.setPen(Qt::black);
        painter.drawText(kMargin, baseline, text);
        if (r != editor_.caretRow() - 1) continue;
        // The caret: the byte under it, white on blue (grey while the view has no focus).
        const int column = editor_.caretColumn() - 2;
        const int x = kMargin + metrics.horizontalAdvance(text.left(column));
        const QString byte = text.mid(column, 2);
        painter.fillRect(x, top, metrics.horizontalAdvance(byte), metrics.height(),
                         hasFocus() ? QColor(0, 0, 160) : Qt::gray);
        painter.setPen(Qt::white);
        painter.drawText(x, baseline, byte);
    }
}

void MemoryEditorView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left: editor_.Left(); break;
    case Qt::Key_Right: editor_.Right(); break;
    case Qt::Key_Up: editor_.Up(); break;
    case Qt::Key_Down: editor_.Down(); break;
    case Qt::Key_Home: editor_.Home(); break;
    case Qt::Key_End: editor_.End(); break;
    case Qt::Key_PageUp: editor_.PageUp(); break;
    case Qt::Key_PageDown: editor_.PageDown(); break;
    default: {
        const QString text = event->text();
        const bool wasHalf = editor_.halfByte();
        if (text.size() != 1 || !editor_.TypeHexDigit(text[0].toLatin1()))
            return QWidget::keyPressEvent(event);
        update();
        if (wasHalf) emit edited();
        return;
    }
    }
    update();
    emit moved();
}

void MemoryEditorView::wheelEvent(QWheelEvent* event) {
    wheelDelta_ += event->angleDelta().y();
    while (wheelDelta_ >= kWheelNotch) {
        editor_.ScrollBy(-MemoryEditor::kBytesPerRow);
        wheelDelta_ -= kWheelNotch;
    }
    while (wheelDelta_ <= -kWheelNotch) {
        editor_.ScrollBy(MemoryEditor::kBytesPerRow);
        wheelDelta_ += kWheelNotch;
    }
    update();
    emit moved();
}

void MemoryEditorView::mousePressEvent(QMouseEvent* event) {
    setFocus();
    QWidget::mousePressEvent(event);
}

EditMemoryWindow::EditMemoryWindow(QWidget* parent) : DebuggerToolWindow(parent, kPlaceEditMemory) {
    setObjectName("EDIT_MEMORY");
    setWindowTitle("Edit Memory");
    view_ = new MemoryEditorView(editor_, this);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName("scrollBar");
    scrollBar_->setSingleStep(MemoryEditor::kBytesPerRow);
    scrollBar_->setPageStep(MemoryEditor::kBytesShown);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(scrollBar_);
    SyncScrollBar();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        editor_.ScrollTo(value);
        view_->update();
    });
    connect(view_, &MemoryEditorView::moved, this, &EditMemoryWindow::SyncScrollBar);
    connect(view_, &MemoryEditorView::edited, this, [this] {
        if (edited) edited();
    });
    auto* goTo = new QAction("Go to Address", this);
    goTo->setObjectName("goToAddress");
    goTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    addAction(goTo);
    connect(goTo, &QAction::triggered, this, [this] {
        if (const std::optional<uint32_t> address = AskGoToAddress(this)) {
            editor_.GoTo(*address);
            view_->update();
            SyncScrollBar();
        }
    });
    setFixedSize(sizeHint());
    view_->setFocus();
    // The debugger's steps and tools change memory under the window: look again a few
    // times a second.
    startTimer(250);
}

void EditMemoryWindow::timerEvent(QTimerEvent*) {
    view_->update();
}

void EditMemoryWindow::SyncScrollBar() {
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setRange(0, int(MemoryEditor::MaxTop()));
    scrollBar_->setValue(int(editor_.editTop()));
}

EditMemoryWindow* OpenEditMemory(QWidget* parent, std::function<void()> edited) {
    if (!openWindow) {
        openWindow = new EditMemoryWindow(parent);
        openWindow->show();
    }
    openWindow->edited = std::move(edited);
    openWindow->raise();
    openWindow->activateWindow();
    return openWindow.data();
}

EditMemoryWindow* OpenEditMemoryWindow() {
    return openWindow.data();
}
