#include "debugger/qt/debugger_window.h"

#include <cstdio>

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "base/qt/tool_window_place.h"
#include "debugger/breakpoints.h"
#include "debugger/debugger_text.h"
#include "debugger/qt/address_pane.h"
#include "debugger/qt/breakpoint_list_window.h"
#include "debugger/qt/code_pane.h"
#include "debugger/qt/go_to_address.h"
#include "debugger/qt/run_until_tstate_dialog.h"
#include "machine/rewind_buffer.h"
#include "debugger/qt/text_lines_view.h"
#include "machine/machine_state.h"

namespace {

constexpr int kSliceInstructions = 2000; // between looks at the clock
constexpr int kSliceMilliseconds = 25;   // of running before the window breathes
constexpr int kRedrawMilliseconds = 250; // progress shown while a command runs

QStringList ToLines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << QString::fromStdString(line);
    return out;
}

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

DebuggerWindow::DebuggerWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Debugger");
    setObjectName("debugger");
    // F5 opens the window between frames; a breakpoint, in the middle of one.
    framesBehind_ = breakpointState.openingBreakpoint < 0;
    BeginDebuggerSession();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    BuildMenus();
    layout->setMenuBar(findChild<QMenuBar*>("debuggerMenus"));
    layout->addWidget(BuildPanes());

    status_ = new QLabel(this);
    status_->setObjectName("status");
    stopButton_ = new QPushButton("Stop", this);
    stopButton_->setObjectName("stop");
    stopButton_->setEnabled(false);
    stopButton_->setAutoDefault(false);
    connect(stopButton_, &QPushButton::clicked, this, &DebuggerWindow::Stop);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(status_, 1);
    statusRow->addWidget(stopButton_);
    layout->addLayout(statusRow);

    runTimer_ = new QTimer(this);
    runTimer_->setInterval(0);
    connect(runTimer_, &QTimer::timeout, this, &DebuggerWindow::ContinueCommand);

    if (breakpointState.openingBreakpoint >= 0) {
        const Breakpoint& entry = breakpointState.breakpoints[breakpointState.openingBreakpoint];
        const std::string watch = WatchHitText();
        QString text = watch.empty() ? "Breakpoint at " + QString::fromStdString(BreakpointAddressText(
                                                              breakpointState.openingBreakpoint))
                                     : "Watchpoint: " + QString::fromStdString(watch);
        if (!entry.conditionText.empty()) text += ", " + QString::fromStdString(entry.conditionText);
        status_->setText(text);
    }
    memory_->ShowFrom(kMemoryPaneFloor);
    RefreshViews(machine.pc);
    code_->view()->setFocus();
    KeepToolWindowPlace(this, kPlaceDebugger);
}

DebuggerWindow::~DebuggerWindow() {
    if (debuggerSession.debuggerOpen) EndDebuggerSession();
}

QAction* DebuggerWindow::AddAction(QMenu* menu, const QString& name, const QString& text, bool enabled) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setEnabled(enabled);
    menu->addAction(action);
    return action;
}

QAction* DebuggerWindow::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void DebuggerWindow::BuildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName("debuggerMenus");
    bar->setNativeMenuBar(false);

    // Tools that come with their own windows stay disabled until they are connected.
    QMenu* tools = bar->addMenu("&Tools");
    AddAction(tools, "disassembleToFile", "Disassemble to File", false);
    connect(AddAction(tools, "breakpoints", "Breakpoints"), &QAction::triggered, this,
            &DebuggerWindow::ShowBreakpoints);
    AddAction(tools, "viewPadSpace", "View PAD Space", false);
    AddAction(tools, "systemVariables", "System Variables", false);
    AddAction(tools, "restoreRom", "Restore ROM", false);
    tools->addSeparator();
    QAction* quit = AddAction(tools, "quit", "Quit");
    quit->setShortcut(Qt::Key_F3);
    connect(quit, &QAction::triggered, this, &QDialog::accept);

    QMenu* run = bar->addMenu("&Run");
    QAction* step = AddAction(run, "singleStep", "Single Step");
    step->setShortcut(Qt::Key_F9);
    connect(step, &QAction::triggered, this, &DebuggerWindow::Step);
    QAction* back = AddAction(run, "stepBack", "Step Back");
    back->setShortcut(Qt::SHIFT | Qt::Key_F9);
    connect(back, &QAction::triggered, this, &DebuggerWindow::StepBack);
    QAction* over = AddAction(run, "stepOver", "Step Over");
    over->setShortcut(Qt::Key_F11);
    connect(over, &QAction::triggered, this, [this] { StartCommand(RunKind::StepOver); });
    QAction* out = AddAction(run, "stepOut", "Step Out");
    out->setShortcut(Qt::Key_F7);
    connect(out, &QAction::triggered, this, [this] { StartCommand(RunKind::StepOut); });
    QMenu* until = run->addMenu("Run Until");
    QMenu* tstateEvent = until->addMenu("T-State Event");
    connect(AddAction(tstateEvent, "startOfFrame", "Start Of Frame"), &QAction::triggered, this,
            [this] { StartCommand(RunKind::StartOfFrame); });
    QAction* endOfFrame = AddAction(tstateEvent, "endOfFrame", "End Of Frame");
    endOfFrame->setShortcut(Qt::Key_F8);
    connect(endOfFrame, &QAction::triggered, this, [this] { StartCommand(RunKind::EndOfFrame); });
    connect(AddAction(tstateEvent, "specifiedTstate", "Specified T-State"), &QAction::triggered, this,
            &DebuggerWindow::RunToTstate);
    // Port events are listed but do nothing yet.
    AddAction(until, "portReadEvent", "Port Read Event", false);
    AddAction(until, "portWriteEvent", "Port Write Event", false);
    QMenu* opcode = until->addMenu("Opcode");
    struct OpcodeItem {
        const char* name;
        const char* text;
        bool* request;
    };
    for (const OpcodeItem& item : {OpcodeItem{"runUntilHalt", "HALT", &debuggerSession.runUntilHalt},
                                   OpcodeItem{"runUntilLdAR", "LD A,R", &debuggerSession.runUntilLdAR},
                                   OpcodeItem{"runUntilLdRA", "LD R,A", &debuggerSession.runUntilLdRA}}) {
        QAction* action = AddAction(opcode, item.name, item.text);
        action->setCheckable(true); // ticked while armed
        bool* request = item.request;
        connect(action, &QAction::triggered, this, [this, request] { ArmOpcodeRun(request); });
    }

    QMenu* edit = bar->addMenu("&Edit");
    for (const auto& [name, text] : {std::pair{"editRegisters", "Edit Registers"},
                                     {"editMemory", "Edit Memory"},
                                     {"editRom", "Edit ROM"},
                                     {"find", "Find"},
                                     {"copyMemoryBlock", "Copy Memory Block"},
                                     {"fillMemoryBlock", "Fill Memory Block"},
                                     {"pushValue", "PUSH Value"},
                                     {"popValue", "POP Value"}})
        AddAction(edit, name, text, false);
    Action("editRom")->setCheckable(true);
    edit->addSeparator();
    QAction* goTo = AddAction(edit, "goToAddress", "Go to Address");
    goTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(goTo, &QAction::triggered, this, &DebuggerWindow::GoToAddress);
}

QWidget* DebuggerWindow::BuildPanes() {
    auto* panes = new QWidget(this);
    auto* columns = new QHBoxLayout(panes);
    columns->setContentsMargins(0, 4, 0, 0);

    code_ = new CodePane(panes);
    code_->setObjectName("codePane");
    connect(code_, &CodePane::BreakpointToggled, this, &DebuggerWindow::ToggleBreakpoint);

    registers_ = new TextLinesView(15, 44, panes);
    registers_->setObjectName("registerPane");

    tabs_ = new QTabWidget(panes);
    tabs_->setObjectName("infoTabs");
    stack_ = new AddressPane(
        {kStackLines, 20, 2, 32, 2, ClampStackTop, StackLines, [] { return uint32_t(machine.sp); }}, tabs_);
    stack_->setObjectName("stackPane");
    ay_ = new TextLinesView(16, 34, tabs_);
    ay_->setObjectName("ayPane");
    ports_ = new TextLinesView(16, 22, tabs_);
    ports_->setObjectName("portsPane");
    tabs_->addTab(stack_, "Stack");
    tabs_->addTab(ay_, "AY");
    tabs_->addTab(ports_, "PORTS");
    tabs_->setCurrentIndex(0);

    memory_ = new AddressPane(
        {kMemoryRows, 41, 8, 128, 16, ClampMemoryTop, MemoryPaneRows, [] { return kMemoryPaneFloor; }},
        panes);
    memory_->setObjectName("memoryPane");

    auto* wordListBox = new QWidget(panes);
    wordListSlot_ = new QVBoxLayout(wordListBox);
    wordListSlot_->setContentsMargins(0, 0, 0, 0);
    wordListBox->setMinimumHeight(80);
    wordList_ = new QListWidget(wordListBox);
    wordList_->setObjectName("wordListPane");
    wordListSlot_->addWidget(wordList_);

    auto* codeColumn = new QVBoxLayout;
    codeColumn->addWidget(Caption("Code", panes));
    codeColumn->addWidget(code_);
    codeColumn->addStretch(1);
    auto* registerColumn = new QVBoxLayout;
    registerColumn->addWidget(Caption("Registers", panes));
    registerColumn->addWidget(registers_);
    registerColumn->addWidget(tabs_);
    registerColumn->addStretch(1);
    auto* memoryColumn = new QVBoxLayout;
    memoryColumn->addWidget(Caption("Memory", panes));
    memoryColumn->addWidget(memory_);
    memoryColumn->addWidget(Caption("FORTH words", panes));
    memoryColumn->addWidget(wordListBox, 1);
    columns->addLayout(codeColumn);
    columns->addLayout(registerColumn);
    columns->addLayout(memoryColumn, 1);
    return panes;
}

void DebuggerWindow::SetWordListPane(QWidget* pane) {
    wordListSlot_->removeWidget(wordList_);
    delete wordList_;
    wordList_ = pane;
    wordListSlot_->addWidget(pane);
}

void DebuggerWindow::RefreshRegisters() {
    registers_->SetLines(ToLines(RegisterPaneRows()));
}

void DebuggerWindow::RefreshViews(uint32_t codeTop) {
    code_->ShowFrom(codeTop);
    RefreshOtherPanes();
}

void DebuggerWindow::RefreshViews() {
    code_->FollowPc();
    RefreshOtherPanes();
}

void DebuggerWindow::RefreshOtherPanes() {
    RefreshRegisters();
    memory_->Redraw();
    stack_->ShowFrom(machine.sp);
    ay_->SetLines(ToLines(AyLines()));
    ports_->SetLines(ToLines(PortLines()));
    Action("runUntilHalt")->setChecked(debuggerSession.runUntilHalt);
    Action("runUntilLdAR")->setChecked(debuggerSession.runUntilLdAR);
    Action("runUntilLdRA")->setChecked(debuggerSession.runUntilLdRA);
    emit ViewsRefreshed();
}

QString DebuggerWindow::statusText() const {
    return status_->text();
}

void DebuggerWindow::ShowStatus(const QString& text) {
    status_->setText(text);
}

void DebuggerWindow::Step() {
    if (running()) return;
    stepHistory_.BeforeStep();
    SingleStep();
    stepHistory_.AfterStep();
    status_->clear();
    RefreshViews();
}

void DebuggerWindow::StepBack() {
    if (running()) return;
    std::string error;
    bool done = false;
    if (stepHistory_.StepsKept() == 0 && framesBehind_ && applicationRewindBuffer) {
        std::vector<uint8_t> frameStart;
        long steps = 0;
        done = applicationRewindBuffer->UndoInstructions(1, frameStart, steps, error);
        if (done) stepHistory_.StartFrom(frameStart, steps);
    } else {
        done = stepHistory_.StepBack(1, SingleStep, error);
    }
    if (done)
        status_->clear();
    else
        status_->setText(QString::fromStdString(error));
    RefreshViews();
}

void DebuggerWindow::StartCommand(RunKind kind) {
    if (running()) return;
    stepHistory_.Forget(); // a run is not undone step by step
    framesBehind_ = false;
    const RunStop stop = StartRun(kind);
    if (stop != RunStop::Running) {
        EndCommand(stop);
        return;
    }
    status_->setText(RunStopText(RunStop::Running));
    SetCommandsEnabled(false);
    stopButton_->setEnabled(true);
    sinceRedraw_.start();
    ContinueCommand();
    if (running()) runTimer_->start();
}

// One slice of the running command, then back to the event loop, so the window stays
// responsive and Escape or Stop can end it.
void DebuggerWindow::ContinueCommand() {
    QElapsedTimer slice;
    slice.start();
    RunStop stop = RunStop::Running;
    while (stop == RunStop::Running && slice.elapsed() < kSliceMilliseconds)
        stop = ContinueRun(kSliceInstructions);
    if (stop != RunStop::Running) {
        EndCommand(stop);
        return;
    }
    if (sinceRedraw_.elapsed() >= kRedrawMilliseconds) {
        // Progress: the registers with the code and the stack they point at.
        RefreshRegisters();
        code_->FollowPc();
        stack_->ShowFrom(machine.sp);
        sinceRedraw_.restart();
    }
}

void DebuggerWindow::EndCommand(RunStop stop) {
    runTimer_->stop();
    stopButton_->setEnabled(false);
    SetCommandsEnabled(true);
    QString text = RunStopText(stop);
    if (stop == RunStop::Breakpoint) text += QString(" at #%1").arg(machine.pc, 4, 16, QChar('0')).toUpper();
    status_->setText(text);
    RefreshViews();
}

void DebuggerWindow::Stop() {
    if (running()) EndCommand(CancelRun());
}

void DebuggerWindow::SetCommandsEnabled(bool enabled) {
    for (const char* name : {"singleStep", "stepBack", "stepOver", "stepOut", "startOfFrame", "endOfFrame",
                             "specifiedTstate", "runUntilHalt", "runUntilLdAR", "runUntilLdRA"})
        Action(name)->setEnabled(enabled);
}

void DebuggerWindow::ArmOpcodeRun(bool* request) {
    *request = true;
    StartCommand(RunKind::UntilOpcode);
}

void DebuggerWindow::RunToTstate() {
    if (running()) return;
    RunUntilTstateDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) StartCommand(RunKind::UntilTstate);
}

// Moves the memory pane when it has the focus, else the code pane.
void DebuggerWindow::GoToAddress() {
    const bool memory = memory_->isAncestorOf(focusWidget());
    const std::optional<uint32_t> address = AskGoToAddress(this);
    if (!address) return;
    if (memory)
        memory_->ShowFrom(*address);
    else
        code_->ShowFrom(*address);
}

void DebuggerWindow::ShowBreakpoints() {
    if (!breakpointList_) {
        breakpointList_ = new BreakpointListWindow(this);
        breakpointList_->setAttribute(Qt::WA_DeleteOnClose);
        connect(breakpointList_, &BreakpointListWindow::Changed, code_, &CodePane::Redraw);
    }
    breakpointList_->show();
    breakpointList_->raise();
    breakpointList_->activateWindow();
}

void DebuggerWindow::ToggleBreakpoint(uint32_t address) {
    bool removed = false;
    for (int k = breakpointState.breakpointCount - 1; k >= 0; --k) {
        // A double click toggles execute entries only; watchpoints there stay.
        if (breakpointState.breakpoints[k].kind != BreakKind::Execute ||
            breakpointState.breakpoints[k].address != address)
            continue;
        DeleteBreakpoint(k);
        removed = true;
    }
    if (!removed) {
        char text[8];
        std::snprintf(text, sizeof text, "#%04X", address);
        if (AddBreakpoint(text, "") == BreakpointResult::TableFull)
            status_->setText("Only 256 breakpoints allowed");
    }
    code_->Redraw();
    if (breakpointList_) breakpointList_->Rebuild();
}

// The window's function keys, taken as plain key presses: the main window behind the
// dialog has shortcuts on some of the same keys (F3 is its NMI), and the debugger's keys
// must win whenever the debugger has the focus.
QAction* DebuggerWindow::KeyAction(int key) const {
    switch (key) {
    case Qt::Key_F3: return Action("quit");
    case Qt::Key_F7: return Action("stepOut");
    case Qt::Key_F8: return Action("endOfFrame");
    case Qt::Key_F9: return Action("singleStep");
    case Qt::Key_F11: return Action("stepOver");
    default: return nullptr;
    }
}

bool DebuggerWindow::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && KeyAction(key->key())) {
            event->accept();
            return true;
        }
    }
    return QDialog::event(event);
}

void DebuggerWindow::keyPressEvent(QKeyEvent* event) {
    // Escape stops a running command; with none running it closes the window as Quit.
    if (event->key() == Qt::Key_Escape) {
        if (running())
            Stop();
        else
            Action("quit")->trigger();
        event->accept();
        return;
    }
    // Shift+F9 as a key press too, so it works whichever window the system deems active.
    if (event->modifiers() == Qt::ShiftModifier && event->key() == Qt::Key_F9) {
        if (Action("stepBack")->isEnabled()) Action("stepBack")->trigger();
        event->accept();
        return;
    }
    if (QAction* action = event->modifiers() == Qt::NoModifier ? KeyAction(event->key()) : nullptr) {
        if (action->isEnabled()) action->trigger();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DebuggerWindow::done(int result) {
    if (running()) CancelRun();
    runTimer_->stop();
    if (breakpointList_) breakpointList_->close();
    EndDebuggerSession();
    QDialog::done(result);
}
