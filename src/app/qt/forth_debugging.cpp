#include "app/qt/forth_debugging.h"

#include <QAction>
#include <QMenu>
#include <QTabWidget>

#include "app/qt/forth_stack_tab.h"
#include "app/qt/forth_word_pane.h"
#include "debugger/forth_stepping.h"
#include "debugger/forth_word_break.h"
#include "debugger/qt/debugger_window.h"

namespace {

QString StepNote(WordStep kind, const WordStepResult& result) {
    const QString name = WordStepName(kind);
    if (result.breakpoint) return name + ": stopped at a breakpoint";
    if (!result.reached) return name + QString(": no word entered in %1 instructions").arg(result.instructions);
    return name + ": " + QString::fromStdString(DispatchDescription());
}

} // namespace

void ConnectForthDebugging(DebuggerWindow& window) {
    DebuggerWindow* w = &window;
    auto* stacks = new ForthStackTab(w);
    window.infoTabs()->addTab(stacks, "FORTH");
    auto* words = new ForthWordPane(w);
    window.SetWordListPane(words);
    // Both follow the machine as the debugger runs it.
    QObject::connect(w, &DebuggerWindow::ViewsRefreshed, stacks, &ForthStackTab::Refresh);
    QObject::connect(w, &DebuggerWindow::ViewsRefreshed, words, &ForthWordPane::Refresh);

    // The word steps go in the Run menu, after Step Out.
    QMenu* run = nullptr;
    if (QAction* stepOut = window.Action("stepOut"))
        for (QObject* holder : stepOut->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(holder)) run = menu;
    if (!run) return;
    const struct {
        const char* name;
        WordStep kind;
    } steps[] = {{"stepWord", WordStep::Over}, {"stepIntoWord", WordStep::Into}, {"stepOutOfWord", WordStep::Out}};
    for (const auto& step : steps) {
        auto* action = new QAction(WordStepName(step.kind), w);
        action->setObjectName(step.name);
        run->addAction(action);
        const WordStep kind = step.kind;
        QObject::connect(action, &QAction::triggered, w, [w, stacks, kind] {
            if (w->running()) return;
            const WordStepResult result = RunWordStep(kind, kWordStepBound);
            stacks->SetStepNote(StepNote(kind, result));
            w->infoTabs()->setCurrentWidget(stacks);
            w->RefreshViews();
        });
    }
}
