// "NoltACE Calculator": the programmer's calculator from the Tools menu. A modeless
// window, one at a time; its buttons pass their labels to the engine
// (debugger/calculator.h) and the window shows the engine's display and captions.
//
// Usage: OpenCalculator(mainWindow); a second request while it is open raises it.
#pragma once

#include <map>
#include <string>

#include "app/qt/debugger_tool_window.h"
#include "debugger/calculator.h"

class QLineEdit;
class QPushButton;

class CalculatorWindow : public DebuggerToolWindow {
    Q_OBJECT
  public:
    explicit CalculatorWindow(QWidget* parent);
    ~CalculatorWindow() override;

    const Calculator& engine() const { return engine_; }
    // The button with this engine label ("7", "AND", "SIZE", ...), or nullptr.
    QPushButton* Button(const std::string& label) const;
    QLineEdit* display() const { return display_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPushButton* AddButton(const std::string& label, int row, int column, int columnSpan = 1);
    void Pressed(const std::string& label);
    void ShowState();

    Calculator engine_;
    QLineEdit* display_ = nullptr;
    std::map<std::string, QPushButton*> buttons_;
};

void OpenCalculator(QWidget* parent);
CalculatorWindow* OpenCalculatorWindow(); // the open window, or nullptr
