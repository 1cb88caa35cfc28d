// The debugger window: modal (QDialog::exec), opened by the main window's Debugger
// command (F5) or by a breakpoint from inside the instruction step. It shows the
// registers, the code around pc, memory, the Stack/AY/PORTS tabs and the FORTH word
// list, and drives the machine itself through the commands of debugger_session.h:
// F9 Single Step, Shift+F9 Step Back, F11 Step Over, F7 Step Out, F8 End Of Frame, the run-until commands;
// F3 and Escape close it. A command that runs long shows "Running..." with a Stop
// button, and Escape then stops the command instead.
//
// The tools (memory editing, export, FORTH views) plug in through the actions named
// below, which stay disabled until a tool connects them, and through SetWordListPane.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

#include <cstdint>

#include "debugger/debugger_session.h"
#include "debugger/step_back.h"

class AddressPane;
class BreakpointListWindow;
class CodePane;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QVBoxLayout;
class TextLinesView;

class DebuggerWindow : public QDialog {
    Q_OBJECT
  public:
    explicit DebuggerWindow(QWidget* parent = nullptr);
    ~DebuggerWindow() override;

    // Redraws every pane; the code pane starts at `codeTop`.
    void RefreshViews(uint32_t codeTop);
    // The same after a command: the code pane follows pc.
    void RefreshViews();

    // The action of a menu item by its object name: "disassembleToFile", "breakpoints",
    // "viewPadSpace", "systemVariables", "restoreRom", "quit", "singleStep", "stepOver",
    // "stepOut", "startOfFrame", "endOfFrame", "specifiedTstate", "portReadEvent",
    // "portWriteEvent", "runUntilHalt", "runUntilLdAR", "runUntilLdRA", "editRegisters",
    // "editMemory", "editRom", "find", "copyMemoryBlock", "fillMemoryBlock", "pushValue",
    // "popValue", "goToAddress" (Ctrl+G: the memory pane when it has the focus, else the
    // code pane).
    QAction* Action(const QString& name) const;
    // Replaces the (empty) FORTH word-list pane; the window takes ownership.
    void SetWordListPane(QWidget* pane);
    QWidget* wordListPane() const { return wordList_; }

    CodePane* codePane() const { return code_; }
    AddressPane* memoryPane() const { return memory_; }
    TextLinesView* registerPane() const { return registers_; }
    QTabWidget* infoTabs() const { return tabs_; }
    QString statusText() const;
    void ShowStatus(const QString& text);
    bool running() const { return CurrentRun() != RunKind::None; }

  signals:
    // After every refresh, for the panes and tools that show machine state.
    void ViewsRefreshed();

  public slots:
    void done(int result) override;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildMenus();
    QAction* KeyAction(int key) const;
    QWidget* BuildPanes();
    QAction* AddAction(QMenu* menu, const QString& name, const QString& text, bool enabled = true);

    void Step();
    // Undoes the last Single Step (Shift+F9), as far back as the steps since the last
    // other command go, and past them into the frames run before the window opened.
    void StepBack();
    void StartCommand(RunKind kind);
    void ContinueCommand();
    void EndCommand(RunStop stop);
    void Stop();
    void ArmOpcodeRun(bool* request);
    void RunToTstate();
    void ShowBreakpoints();
    void GoToAddress();
    void ToggleBreakpoint(uint32_t address);
    void SetCommandsEnabled(bool enabled);
    void RefreshRegisters();
    void RefreshOtherPanes();

    CodePane* code_ = nullptr;
    AddressPane* memory_ = nullptr;
    AddressPane* stack_ = nullptr;
    TextLinesView* registers_ = nullptr;
    TextLinesView* ay_ = nullptr;
    TextLinesView* ports_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* wordList_ = nullptr;
    QVBoxLayout* wordListSlot_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QTimer* runTimer_ = nullptr;
    QElapsedTimer sinceRedraw_;
    QPointer<BreakpointListWindow> breakpointList_;
    StepHistory stepHistory_;
    // Opened between two frames, and nothing but single steps since: Step Back can reach
    // into the frames before through the application's rewind buffer.
    bool framesBehind_ = false;
};
