// "Edit Memory": 32 rows of 16 bytes with a caret; typing two hexadecimal digits writes
// a byte (into the ROM image too, below 0x2000). The arrows, Home, End, PgUp, PgDn, the
// scroll bar and the wheel move around (debugger/memory_editor.h). Modeless, one at a
// time; `edited` tells the debugger to redraw its panes after each written byte.
#pragma once

#include <functional>

#include "app/qt/debugger_tool_window.h"
#include "debugger/memory_editor.h"

class QScrollBar;

class MemoryEditorView : public QWidget {
    Q_OBJECT
  public:
    explicit MemoryEditorView(MemoryEditor& editor, QWidget* parent);
    QSize sizeHint() const override;

  signals:
    void moved();
    void edited();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    MemoryEditor& editor_;
    int wheelDelta_ = 0;
};

class EditMemoryWindow : public DebuggerToolWindow {
    Q_OBJECT
  public:
    explicit EditMemoryWindow(QWidget* parent);

    MemoryEditor& editor() { return editor_; }
    MemoryEditorView* view() const { return view_; }
    std::function<void()> edited; // called after every byte written

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void SyncScrollBar();

    MemoryEditor editor_;
    MemoryEditorView* view_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
};

// Opens the window, or raises it when it is open; `edited` as above (may be empty).
EditMemoryWindow* OpenEditMemory(QWidget* parent, std::function<void()> edited = {});
EditMemoryWindow* OpenEditMemoryWindow(); // the open window, or nullptr
