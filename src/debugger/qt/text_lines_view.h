// A pane of fixed-width text lines for the debugger: drawn in the system's monospace
// font (vector text, so it stays sharp at any screen scale), one line a row, with an
// optional highlighted row (white on blue) and rows marked as breakpoints.
#pragma once

#include <QSet>
#include <QStringList>
#include <QWidget>

class TextLinesView : public QWidget {
    Q_OBJECT
  public:
    // Sized for `rows` lines of `columns` characters.
    TextLinesView(int rows, int columns, QWidget* parent = nullptr);

    void SetLines(const QStringList& lines, int highlightedRow = -1, const QSet<int>& markedRows = {});
    const QStringList& lines() const { return lines_; }
    int highlightedRow() const { return highlighted_; }
    int rows() const { return rows_; }
    // The row under a point in the widget, or -1.
    int RowAt(const QPoint& point) const;

  signals:
    // Whole notches of the mouse wheel: positive away from the user (scroll up).
    void WheelNotches(int notches);
    // A key the view does not use itself (the owning pane scrolls by it).
    void KeyPressed(int key);
    void RowDoubleClicked(int row);

  protected:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    int LineHeight() const;

    int rows_, columns_;
    QStringList lines_;
    int highlighted_ = -1;
    QSet<int> marked_;
    int wheelRemainder_ = 0;
};

// The font of every debugger pane and tool: the system's fixed-pitch font.
QFont DebuggerFont();
