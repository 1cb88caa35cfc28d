#include "debugger/qt/address_pane.h"

#include <QHBoxLayout>
#include <QScrollBar>

#include "debugger/qt/text_lines_view.h"

AddressPane::AddressPane(Layout layout, QWidget* parent) : QWidget(parent), layout_(std::move(layout)) {
    view_ = new TextLinesView(layout_.rows, layout_.columns, this);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(view_);
    box->addWidget(scrollBar_);
    connect(view_, &TextLinesView::WheelNotches, this,
            [this](int notches) { ShowFrom(int64_t(top_) - int64_t(notches) * layout_.wheelStep); });
    connect(view_, &TextLinesView::KeyPressed, this, &AddressPane::OnKey);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!updatingBar_) ShowFrom(value);
    });
}

void AddressPane::ShowFrom(int64_t address) {
    top_ = layout_.clamp(address);
    QStringList lines;
    for (const std::string& line : layout_.lines(top_))
        lines << QString::fromStdString(line);
    view_->SetLines(lines);

    updatingBar_ = true;
    const int low = int(layout_.clamp(0));
    const int high = int(layout_.clamp(0x10000));
    scrollBar_->setRange(low, high < low ? low : high);
    scrollBar_->setSingleStep(layout_.lineStep);
    scrollBar_->setPageStep(layout_.pageStep);
    scrollBar_->setValue(int(top_));
    updatingBar_ = false;
}

void AddressPane::OnKey(int key) {
    switch (key) {
    case Qt::Key_Up: ShowFrom(int64_t(top_) - layout_.lineStep); break;
    case Qt::Key_Down: ShowFrom(int64_t(top_) + layout_.lineStep); break;
    case Qt::Key_PageUp: ShowFrom(int64_t(top_) - layout_.pageStep); break;
    case Qt::Key_PageDown: ShowFrom(int64_t(top_) + layout_.pageStep); break;
    case Qt::Key_Home: ShowFrom(layout_.home()); break;
    case Qt::Key_End: ShowFrom(0x10000); break;
    default: break;
    }
}
