// The programmer's calculator: 8-bit and 16-bit arithmetic in decimal, hexadecimal or
// binary, signed or unsigned, with the Z80's shifts and rotates and a visible carry.
//
// The engine knows nothing of windows: each button is a label passed to Press(), and
// the window shows Display() and the captions. It never touches the emulated machine.
//
//   Calculator c;
//   c.Press("HEX"); c.Press("F"); c.Press("F"); c.Press("*"); c.Press("2"); c.Press("=");
//   c.Display() == "        OVERFLOW"   (BYTE); in WORD it reads "             1FE"
#pragma once

#include <cstdint>
#include <string>

enum class CalculatorOp { None, And, Or, Xor, Divide, Multiply, Subtract, Add };

class Calculator {
  public:
    static constexpr int kDisplayWidth = 16;
    static constexpr int kMaxEntryDigits = 16;

    Calculator() { Open(); }

    // The state of a freshly opened window: DEC, BYTE, nothing pending. Signed mode
    // outlives the window, so Open keeps it.
    void Open();
    // What closing the window clears: the entry, the operands, the pending operation.
    void Close();

    // One button by its label: "0"-"9", "A"-"F", "+", "-", "*", "/", "AND", "OR", "XOR",
    // "=", "NOT", "RL", "RR", "RLC", "RRC", "SLA", "SRA", "SLL", "SRL", "HEX", "DEC",
    // "BIN", "CA", "+/-", "CARRY", "SIZE", "SIGN", "CE", "STO". False for a label the
    // calculator does not know or a button that is disabled in the current state.
    bool Press(const std::string& label);
    // Whether the window should enable the button with this label.
    bool Enabled(const std::string& label) const;

    // The 16-character display, right-aligned and blank-padded.
    const std::string& Display() const { return display_; }
    const char* CarryCaption() const { return carry_ ? "CARRY" : "NO CARRY"; }
    const char* SizeCaption() const { return size_ == 8 ? "BYTE" : "WORD"; }
    const char* SignCaption() const { return signedMode_ ? "SIGNED" : "UNSIGNED"; }

    int base() const { return base_; }
    int size() const { return size_; }
    bool signedMode() const { return signedMode_; }
    bool carry() const { return carry_; }
    const std::string& entryText() const { return entry_; }

  private:
    void Digit(char digit);
    void Operator(CalculatorOp op);
    void Equals();
    void Not();
    void Negate();
    void Shift(const std::string& which);
    void SetBase(int base);
    void ToggleSize();
    void ClearAll();

    int64_t EntryValue() const;   // the entry read in the current base; 0 when empty
    void SetEntry(int64_t value); // the value as entry text in the current base
    void ClearEntry();
    void Evaluate(); // operand1 (op) operand2 into result
    void Show(int64_t value);
    void ShowText(const std::string& text);
    bool FitsEntryRange(int64_t value) const;
    bool FitsResultRange(int64_t value) const;
    std::string Format(int64_t value) const;

    std::string entry_;   // digits typed, in the current base (a leading "-" when negated)
    std::string display_; // always kDisplayWidth characters
    int base_ = 10;
    int size_ = 8;
    bool signedMode_ = false;
    bool carry_ = false;
    bool negativeEntry_ = false;
    // A digit was typed since the last operator: "=" straight after "*" squares, and a
    // second operator straight after the first replaces it.
    bool entryTyped_ = false;
    // The entry holds a shown result: the next digit starts a new number instead of
    // extending it.
    bool entryIsResult_ = false;
    int64_t operand1_ = 0, operand2_ = 0, result_ = 0;
    CalculatorOp pendingOp_ = CalculatorOp::None;
    bool divideByZero_ = false;
    // An intermediate result left the 32-bit range; chained products can get there, and
    // such a chain can only end in "OVERFLOW".
    bool outOfRange_ = false;
};
