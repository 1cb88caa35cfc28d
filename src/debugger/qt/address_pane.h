// A debugger pane of lines that each show a fixed number of bytes from a first address
// (the memory pane, the Stack tab), with its own scroll bar. The arrow keys move a line,
// Page Up/Down a page, the wheel a fixed amount per notch, Home and End to the ends;
// every move is kept within the range that the pane's clamp allows.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QScrollBar;
class TextLinesView;

class AddressPane : public QWidget {
    Q_OBJECT
  public:
    struct Layout {
        int rows, columns;
        int lineStep, pageStep, wheelStep; // bytes
        std::function<uint32_t(int64_t)> clamp;
        std::function<std::vector<std::string>(uint32_t)> lines;
        std::function<uint32_t()> home; // where Home goes
    };
    AddressPane(Layout layout, QWidget* parent = nullptr);

    void ShowFrom(int64_t address);
    void Redraw() { ShowFrom(top_); }
    uint32_t top() const { return top_; }
    TextLinesView* view() const { return view_; }

  private:
    void OnKey(int key);

    Layout layout_;
    TextLinesView* view_;
    QScrollBar* scrollBar_;
    uint32_t top_ = 0;
    bool updatingBar_ = false;
};
