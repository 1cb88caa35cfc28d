#include "debugger/qt/code_pane.h"

#include <QHBoxLayout>
#include <QScrollBar>

#include "debugger/breakpoints.h"
#include "debugger/disassembler.h"
#include "debugger/qt/text_lines_view.h"
#include "machine/machine_state.h"

namespace {

constexpr int kLineColumns = 39;

bool BreakpointAt(uint32_t address) {
    for (int k = 0; k < breakpointState.breakpointCount; ++k)
        if (breakpointState.breakpoints[k].kind == BreakKind::Execute &&
            breakpointState.breakpoints[k].address == address)
            return true;
    return false;
}

} // namespace

CodePane::CodePane(QWidget* parent) : QWidget(parent) {
    view_ = new TextLinesView(kLines, kLineColumns, this);
    view_->setObjectName("codeLines");
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName("codeScrollBar");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(scrollBar_);

    connect(view_, &TextLinesView::WheelNotches, this, [this](int notches) { Scroll(-notches); });
    connect(view_, &TextLinesView::KeyPressed, this, &CodePane::OnKey);
    connect(view_, &TextLinesView::RowDoubleClicked, this, [this](int row) {
        const int64_t address = AddressOfRow(row);
        if (address >= 0) emit BreakpointToggled(uint32_t(address));
    });
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &CodePane::OnScrollAction);
    connect(scrollBar_, &QScrollBar::sliderMoved, this, &CodePane::OnThumbMoved);
}

void CodePane::ShowFrom(uint32_t address) {
    codeTop_ = address > machine.ramTop ? machine.ramTop : address;
    Redraw();
}

void CodePane::Redraw() {
    QStringList lines;
    QSet<int> marked;
    int highlighted = -1;
    rowAddresses_.clear();
    uint32_t address = codeTop_;
    for (int row = 0; row < kLines && address <= machine.ramTop; ++row) {
        disassembleLine(address);
        lines << QString::fromStdString(disassembler.lineText);
        rowAddresses_.push_back(address);
        if (address == machine.pc) highlighted = row;
        if (BreakpointAt(address)) marked.insert(row);
        address = disassembler.disAddr;
    }
    codeNext_ = address;
    view_->SetLines(lines, highlighted, marked);

    updatingBar_ = true;
    scrollBar_->setRange(0, int(machine.ramTop));
    scrollBar_->setPageStep(kLines);
    scrollBar_->setSingleStep(1);
    scrollBar_->setValue(int(codeTop_));
    updatingBar_ = false;
}

void CodePane::FollowPc() {
    constexpr size_t kLookAhead = 3; // lines kept below pc
    for (size_t row = 0; row + kLookAhead < rowAddresses_.size(); ++row) {
        if (rowAddresses_[row] != machine.pc) continue;
        Redraw();
        if (view_->highlightedRow() == int(row)) return; // still decodes the same way
        break;
    }
    ShowFrom(machine.pc);
}

int64_t CodePane::AddressOfRow(int row) const {
    return row >= 0 && row < int(rowAddresses_.size()) ? int64_t(rowAddresses_[size_t(row)]) : -1;
}

void CodePane::Scroll(int instructions) {
    if (instructions < 0 && codeTop_ == 0) return;
    if (instructions > 0 && codeNext_ > machine.ramTop) return;
    ShowFrom(moveByInstructions(codeTop_, instructions));
}

void CodePane::OnKey(int key) {
    switch (key) {
    case Qt::Key_Up: Scroll(-1); break;
    case Qt::Key_Down: Scroll(1); break;
    case Qt::Key_PageUp: Scroll(-kLines); break;
    case Qt::Key_PageDown:
        if (codeNext_ <= machine.ramTop) ShowFrom(codeNext_);
        break;
    case Qt::Key_Home: ShowFrom(0); break;
    case Qt::Key_End: ShowFrom(moveByInstructions(machine.ramTop + 1, -kLines)); break;
    default: break;
    }
}

void CodePane::OnScrollAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: Scroll(-1); break;
    case QAbstractSlider::SliderSingleStepAdd: Scroll(1); break;
    case QAbstractSlider::SliderPageStepSub: Scroll(-kLines); break;
    case QAbstractSlider::SliderPageStepAdd:
        if (codeNext_ <= machine.ramTop) ShowFrom(codeNext_);
        break;
    case QAbstractSlider::SliderToMinimum: ShowFrom(0); break;
    default: return;
    }
    // The bar shows codeTop, not where the slider would have gone by itself.
    scrollBar_->setSliderPosition(int(codeTop_));
}

void CodePane::OnThumbMoved(int value) {
    if (updatingBar_) return;
    const uint32_t address = uint32_t(value);
    // Near the top of memory the last full page of instructions shows.
    if (address + kLines > machine.ramTop + 1)
        ShowFrom(moveByInstructions(machine.ramTop + 1, -kLines));
    else
        ShowFrom(address);
}
