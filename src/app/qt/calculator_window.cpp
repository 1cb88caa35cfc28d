#include "app/qt/calculator_window.h"

#include <cctype>

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "base/window_places.h"

namespace {

QPointer<CalculatorWindow> openCalculator;
// Signed mode is kept while the program runs, across openings of the window.
bool signedModeKept = false;

// The keys that stand for buttons when typed: digits, letters A-F and the operators.
std::string LabelForKey(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Plus: return "+";
    case Qt::Key_Minus: return "-";
    case Qt::Key_Asterisk: return "*";
    case Qt::Key_Slash: return "/";
    case Qt::Key_Equal:
    case Qt::Key_Return:
    case Qt::Key_Enter: return "=";
    case Qt::Key_Delete: return "CA";
    default: break;
    }
    const QString text = event.text().toUpper();
    if (text.size() == 1 && QString("0123456789ABCDEF").contains(text)) return text.toStdString();
    return {};
}

} // namespace

CalculatorWindow::CalculatorWindow(QWidget* parent) : DebuggerToolWindow(parent, kPlaceCalculator) {
    setObjectName("CALCULATOR");
    setWindowTitle("NoltACE Calculator");
    if (engine_.signedMode() != signedModeKept) engine_.Press("SIGN");

    display_ = new QLineEdit(this);
    display_->setObjectName("display");
    display_->setReadOnly(true);
    display_->setFocusPolicy(Qt::NoFocus);
    display_->setAlignment(Qt::AlignRight);
    QFont font("Consolas");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(26);
    font.setWeight(QFont::Bold);
    display_->setFont(font);

    auto* grid = new QGridLayout(this);
    grid->setSpacing(4);
    grid->addWidget(display_, 0, 0, 1, 7);
    const char* const rows[][7] = {
        {"HEX", "DEC", "BIN", "SIZE", "SIGN", "", "CARRY"},
        {"D", "E", "F", "AND", "OR", "XOR", "NOT"},
        {"A", "B", "C", "RL", "RR", "RLC", "RRC"},
        {"7", "8", "9", "/", "SLA", "SRA", "SLL"},
        {"4", "5", "6", "*", "SRL", "CE", "STO"},
        {"1", "2", "3", "-", "", "", "CA"},
        {"0", "+/-", "=", "+", "", "", ""},
    };
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            const std::string label = rows[r][c];
            if (label.empty()) continue;
            // The sign button takes the space of two: "UNSIGNED" is its longest caption.
            AddButton(label, r + 1, c, label == "SIGN" ? 2 : 1);
        }
    }
    ShowState();
    setFixedSize(sizeHint());
}

CalculatorWindow::~CalculatorWindow() {
    signedModeKept = engine_.signedMode();
    engine_.Close();
}

QPushButton* CalculatorWindow::AddButton(const std::string& label, int row, int column, int columnSpan) {
    auto* button = new QPushButton(QString::fromStdString(label), this);
    std::string name = "calc_";
    for (char c : label)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    button->setObjectName(QString::fromStdString(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(44);
    button->setCheckable(label == "HEX" || label == "DEC" || label == "BIN");
    connect(button, &QPushButton::clicked, this, [this, label] { Pressed(label); });
    static_cast<QGridLayout*>(layout())->addWidget(button, row, column, 1, columnSpan);
    buttons_[label] = button;
    return button;
}

QPushButton* CalculatorWindow::Button(const std::string& label) const {
    const auto it = buttons_.find(label);
    return it == buttons_.end() ? nullptr : it->second;
}

void CalculatorWindow::Pressed(const std::string& label) {
    engine_.Press(label);
    ShowState();
}

void CalculatorWindow::ShowState() {
    display_->setText(QString::fromStdString(engine_.Display()));
    for (auto& [label, button] : buttons_)
        button->setEnabled(engine_.Enabled(label));
    buttons_["SIZE"]->setText(engine_.SizeCaption());
    buttons_["SIGN"]->setText(engine_.SignCaption());
    buttons_["CARRY"]->setText(engine_.CarryCaption());
    buttons_["HEX"]->setChecked(engine_.base() == 16);
    buttons_["DEC"]->setChecked(engine_.base() == 10);
    buttons_["BIN"]->setChecked(engine_.base() == 2);
}

void CalculatorWindow::keyPressEvent(QKeyEvent* event) {
    const std::string label = LabelForKey(*event);
    if (label.empty() || !engine_.Enabled(label)) return DebuggerToolWindow::keyPressEvent(event);
    Pressed(label);
}

void OpenCalculator(QWidget* parent) {
    if (!openCalculator) {
        openCalculator = new CalculatorWindow(parent);
        openCalculator->show();
    }
    openCalculator->raise();
    openCalculator->activateWindow();
}

CalculatorWindow* OpenCalculatorWindow() {
    return openCalculator.data();
}
