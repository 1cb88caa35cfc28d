// The debugger's code pane: 43 disassembled lines from codeTop with the line at pc
// highlighted and lines that carry a breakpoint marked. It scrolls by whole
// instructions: the arrow keys and the wheel by one, Page Up/Down by a page, Home to
// address 0; the scroll bar spans the addresses and its thumb shows the instruction at
// the address it is dragged to. Double-clicking a line sets or clears a breakpoint there.
#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class QScrollBar;
class TextLinesView;

class CodePane : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kLines = 43;

    explicit CodePane(QWidget* parent = nullptr);

    // Shows the listing from `address` (kept within memory).
    void ShowFrom(uint32_t address);
    // Redraws from the current codeTop (memory or pc may have changed).
    void Redraw();
    // Keeps the listing where it is while pc is on one of its lines (all but the last
    // few), so a loop being stepped stays still; otherwise shows the listing from pc.
    void FollowPc();
    uint32_t codeTop() const { return codeTop_; }
    uint32_t codeNext() const { return codeNext_; }
    // The address shown on `row`, or -1 past the end of memory.
    int64_t AddressOfRow(int row) const;
    TextLinesView* view() const { return view_; }

  signals:
    void BreakpointToggled(uint32_t address);

  private:
    void Scroll(int instructions);
    void OnKey(int key);
    void OnScrollAction(int action);
    void OnThumbMoved(int value);

    TextLinesView* view_;
    QScrollBar* scrollBar_;
    uint32_t codeTop_ = 0;
    uint32_t codeNext_ = 0;
    std::vector<uint32_t> rowAddresses_;
    bool updatingBar_ = false;
};
