#include "debugger/calculator.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "base/number_text.h"

namespace {

// The entry's digits in `base`, its sign apart; nullopt beyond 32 bits.
std::optional<int64_t> EntryNumber(const std::string& entry, int base) {
    const bool negative = !entry.empty() && entry[0] == '-';
    if (negative && entry.size() == 1) return 0;
    const std::optional<uint32_t> magnitude = ParseDigits(std::string_view(entry).substr(negative), base);
    if (!magnitude) return std::nullopt;
    return negative ? -int64_t(*magnitude) : int64_t(*magnitude);
}

constexpr int64_t kIntermediateLimit = int64_t(1) << 32;

bool IsHexLetter(const std::string& s) {
    return s.size() == 1 && s[0] >= 'A' && s[0] <= 'F';
}
bool IsDecimalDigit(const std::string& s) {
    return s.size() == 1 && s[0] >= '0' && s[0] <= '9';
}
bool IsShift(const std::string& s) {
    return s == "RL" || s == "RR" || s == "RLC" || s == "RRC" || s == "SLA" || s == "SRA" || s == "SLL" ||
           s == "SRL";
}

CalculatorOp OperatorOf(const std::string& s) {
    if (s == "+") return CalculatorOp::Add;
    if (s == "-") return CalculatorOp::Subtract;
    if (s == "*") return CalculatorOp::Multiply;
    if (s == "/") return CalculatorOp::Divide;
    if (s == "AND") return CalculatorOp::And;
    if (s == "OR") return CalculatorOp::Or;
    if (s == "XOR") return CalculatorOp::Xor;
    return CalculatorOp::None;
}

std::string RightAligned(const std::string& text) {
    if (text.size() >= size_t(Calculator::kDisplayWidth))
        return text.substr(text.size() - Calculator::kDisplayWidth);
    return std::string(Calculator::kDisplayWidth - text.size(), ' ') + text;
}

} // namespace

void Calculator::Open() {
    base_ = 10;
    size_ = 8;
    negativeEntry_ = false;
    divideByZero_ = false;
    outOfRange_ = false;
    Close();
}

void Calculator::Close() {
    ClearAll();
}

bool Calculator::Enabled(const std::string& label) const {
    if (IsHexLetter(label)) return base_ == 16;
    if (IsDecimalDigit(label)) return label == "0" || label == "1" || base_ != 2;
    if (label == "AND" || label == "OR" || label == "XOR") return size_ == 8;
    if (IsShift(label)) return label == "SLA" || size_ == 8;
    if (label == "+/-") return signedMode_;
    return true;
}

bool Calculator::Press(const std::string& label) {
    if (!Enabled(label)) return false;
    if (IsDecimalDigit(label) || IsHexLetter(label)) {
        Digit(label[0]);
    } else if (const CalculatorOp op = OperatorOf(label); op != CalculatorOp::None) {
        Operator(op);
    } else if (label == "=") {
        Equals();
    } else if (label == "NOT") {
        Not();
    } else if (label == "+/-") {
        Negate();
    } else if (IsShift(label)) {
        Shift(label);
    } else if (label == "HEX" || label == "DEC" || label == "BIN") {
        SetBase(label == "HEX" ? 16 : label == "DEC" ? 10 : 2);
    } else if (label == "CA") {
        ClearAll();
    } else if (label == "CARRY") {
        carry_ = !carry_;
    } else if (label == "SIZE") {
        ToggleSize();
    } else if (label == "SIGN") {
        signedMode_ = !signedMode_;
        if (!signedMode_) negativeEntry_ = false;
    } else if (label != "CE" && label != "STO") {
        return false;
    }
    return true;
}

void Calculator::Digit(char digit) {
    if (entryIsResult_) ClearEntry();
    if (digit == '0' && (entry_.empty() || entry_ == "-")) {
        entryTyped_ = true; // a zero was entered, though it adds no digit
        return;
    }
    // The entry holds at most as many digits as the display shows; a further digit is
    // refused before it is appended, whatever the base.
    const size_t digits = entry_.size() - (!entry_.empty() && entry_[0] == '-' ? 1 : 0);
    if (digits >= size_t(kMaxEntryDigits)) return;
    const std::string candidate = entry_ + digit;
    const std::optional<int64_t> value = EntryNumber(candidate, base_);
    if (!value || !FitsEntryRange(*value)) return;
    entry_ = candidate;
    entryTyped_ = true;
    ShowText(entry_);
}

bool Calculator::FitsEntryRange(int64_t value) const {
    const int64_t top = size_ == 8 ? 255 : 65535;
    // Signed decimal digits stay inside the signed range; HEX and BIN type the bits.
    if (negativeEntry_ || (signedMode_ && base_ == 10)) {
        const int64_t half = (top + 1) / 2;
        return value >= -half && value < half;
    }
    return value >= 0 && value <= top;
}

bool Calculator::FitsResultRange(int64_t value) const {
    const int64_t top = size_ == 8 ? 255 : 65535;
    // Signed mode overflows at both ends of the two's complement range.
    if (signedMode_) return value >= -(top + 1) / 2 && value <= top / 2;
    return value >= 0 && value <= top;
}

void Calculator::Operator(CalculatorOp op) {
    // A second operator with no number typed in between corrects the first.
    if (pendingOp_ != CalculatorOp::None && !entryTyped_) {
        pendingOp_ = op;
        return;
    }
    operand2_ = EntryValue();
    if (pendingOp_ != CalculatorOp::None) {
        Evaluate();
        operand1_ = result_;
    } else {
        operand1_ = operand2_;
    }
    ClearEntry();
    pendingOp_ = op;
}

void Calculator::Evaluate() {
    switch (pendingOp_) {
    case CalculatorOp::And: result_ = operand1_ & operand2_; break;
    case CalculatorOp::Or: result_ = operand1_ | operand2_; break;
    case CalculatorOp::Xor: result_ = operand1_ ^ operand2_; break;
    case CalculatorOp::Add: result_ = operand1_ + operand2_; break;
    case CalculatorOp::Subtract: result_ = operand1_ - operand2_; break;
    case CalculatorOp::Multiply: result_ = operand1_ * operand2_; break;
    case CalculatorOp::Divide:
        if (operand2_ == 0) {
            divideByZero_ = true;
            result_ = 0;
        } else {
            result_ = operand1_ / operand2_; // C++ truncates toward zero
        }
        break;
    case CalculatorOp::None: result_ = operand2_; break;
    }
    // Operands stay within 32 bits, so one product fits in 64; a result past 32 bits is
    // pinned there and marks the chain as overflowed.
    if (result_ >= kIntermediateLimit || result_ <= -kIntermediateLimit) {
        outOfRange_ = true;
        result_ = result_ > 0 ? kIntermediateLimit : -kIntermediateLimit;
    }
}

void Calculator::Equals() {
    // "=" straight after "*" squares the first operand.
    if (pendingOp_ == CalculatorOp::Multiply && !entryTyped_)
        operand2_ = operand1_;
    else
        operand2_ = EntryValue();
    if (pendingOp_ == CalculatorOp::None) operand1_ = operand2_;
    Evaluate();
    std::string message;
    if (divideByZero_)
        message = "DIVIDE BY 0";
    else if (outOfRange_ || !FitsResultRange(result_))
        message = "OVERFLOW";
    if (!message.empty()) {
        ShowText(message);
        divideByZero_ = false;
        outOfRange_ = false;
        result_ = operand1_ = operand2_ = 0;
        pendingOp_ = CalculatorOp::None;
        entry_.clear();
        entryTyped_ = false;
        entryIsResult_ = false;
        negativeEntry_ = false;
        return;
    }
    operand1_ = operand2_ = 0;
    pendingOp_ = CalculatorOp::None;
    // The result stays in the entry so that it can be shifted, converted or carried into
    // the next operation; a digit typed now starts a new number.
    Show(result_);
    SetEntry(result_);
    entryIsResult_ = true;
    entryTyped_ = false;
}

void Calculator::Not() {
    int64_t value = -EntryValue();
    if (base_ != 10) value &= size_ == 8 ? 0xFF : 0xFFFF;
    SetEntry(value);
    entryIsResult_ = true;
    entryTyped_ = true;
    Show(value);
}

void Calculator::Negate() {
    negativeEntry_ = !negativeEntry_;
    const int64_t value = EntryValue();
    if (value == 0 || !FitsResultRange(-value)) return; // -(-128) is no signed byte
    SetEntry(-value);
    entryTyped_ = true;
    Show(-value);
}

void Calculator::Shift(const std::string& which) {
    const int v = int(EntryValue() & 0xFF);
    const int carryIn = carry_ ? 1 : 0;
    const bool left = which == "RL" || which == "RLC" || which == "SLA" || which == "SLL";
    int result = 0;
    if (which == "RL") result = (v << 1) | carryIn;
    if (which == "RLC") result = (v << 1) | (v >> 7);
    if (which == "SLA") result = v << 1;
    if (which == "SLL") result = (v << 1) | 1;
    if (which == "RR") result = (carryIn << 7) | (v >> 1);
    if (which == "RRC") result = ((v & 1) << 7) | (v >> 1);
    if (which == "SRA") result = (v >> 1) | (v & 0x80);
    if (which == "SRL") result = v >> 1;
    carry_ = left ? (v & 0x80) != 0 : (v & 1) != 0;
    result &= 0xFF;
    SetEntry(result);
    entryIsResult_ = true;
    entryTyped_ = true;
    Show(result);
}

void Calculator::SetBase(int base) {
    const int64_t value = EntryValue();
    base_ = base;
    SetEntry(value);
    Show(value);
}

void Calculator::ToggleSize() {
    size_ = size_ == 8 ? 16 : 8;
    int64_t value = EntryValue();
    // A number too wide for a byte keeps its low 8 bits (as a signed byte when signed).
    if (!FitsResultRange(value)) value = signedMode_ ? int8_t(value & 0xFF) : value & 0xFF;
    SetEntry(value);
    Show(value);
}

void Calculator::ClearAll() {
    ClearEntry();
    operand1_ = operand2_ = result_ = 0;
    pendingOp_ = CalculatorOp::None;
    divideByZero_ = false;
    outOfRange_ = false;
    ShowText("0");
}

void Calculator::ClearEntry() {
    entry_.clear();
    entryTyped_ = false;
    entryIsResult_ = false;
    negativeEntry_ = false;
}

int64_t Calculator::EntryValue() const {
    if (entry_.empty()) return 0;
    const int64_t value = EntryNumber(entry_, base_).value_or(0);
    // Signed mode reads the bits typed in HEX or BIN as a two's complement number.
    const int64_t mask = size_ == 8 ? 0xFF : 0xFFFF;
    if (signedMode_ && base_ != 10 && value > mask / 2 && value <= mask) return value - (mask + 1);
    return value;
}

void Calculator::SetEntry(int64_t value) {
    if (value == 0) {
        entry_.clear();
        return;
    }
    const int64_t mask = size_ == 8 ? 0xFF : 0xFFFF;
    if (base_ == 10) {
        entry_ = std::to_string(value);
        return;
    }
    const uint64_t bits = uint64_t(value & mask);
    std::string text;
    for (uint64_t v = bits; v; v /= uint64_t(base_))
        text.insert(text.begin(), "0123456789ABCDEF"[v % uint64_t(base_)]);
    entry_ = text;
}

std::string Calculator::Format(int64_t value) const {
    const int64_t mask = size_ == 8 ? 0xFF : 0xFFFF;
    char text[24];
    if (base_ == 10) {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
        return text;
    }
    if (base_ == 16) {
        std::snprintf(text, sizeof text, size_ == 8 ? "%2X" : "%4X", unsigned(value & mask));
        return text;
    }
    std::string bits;
    for (int b = size_ - 1; b >= 0; --b)
        bits += (value >> b) & 1 ? '1' : '0';
    return bits;
}

void Calculator::Show(int64_t value) {
    if (value == 0) {
        entry_.clear();
        ShowText("0");
        return;
    }
    ShowText(Format(value));
}

void Calculator::ShowText(const std::string& text) {
    display_ = RightAligned(text);
}
