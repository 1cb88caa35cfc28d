// "Breakpoints": the list of the breakpoint table (Address, Condition, Active, Kind) with the
// buttons Add, Delete and Update. It stays open beside the debugger; every change goes
// to the table at once and the debugger's code pane is told to mark it.
#pragma once

#include <QDialog>

class QTreeWidget;

class BreakpointListWindow : public QDialog {
    Q_OBJECT
  public:
    explicit BreakpointListWindow(QWidget* parent);

    // Rebuilds the rows from the table (after a change made elsewhere).
    void Rebuild();

  signals:
    void Changed();

  private:
    void Add();
    void Delete();
    void Update();
    int SelectedIndex() const;
};
