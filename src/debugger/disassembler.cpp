#include "debugger/disassembler.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>

#include "debugger/rom_labels.h"
#include "debugger/system_variables.h"
#include "machine/machine_state.h"

DisassemblerState disassembler;
uint8_t opt_dis_sv = 0;
uint8_t opt_dis_rom = 0;

namespace {

const char* const kReg8[8] = {"B", "C", "D", "E", "H", "L", "(HL)", "A"};
const char* const kReg16[4] = {"BC", "DE", "HL", "SP"};
const char* const kReg16Af[4] = {"BC", "DE", "HL", "AF"};
const char* const kJumpCondition[8] = {"NZ,", "Z,", "NC,", "C,", "PO,", "PE,", "P,", "M,"};
const char* const kRetCondition[8] = {"NZ", "Z", "NC", "C", "PO", "PE", "P", "M"};
const char* const kAlu[8] = {"ADD   A,", "ADC   A,", "SUB   ", "SBC   A,",
                             "AND   ",   "XOR   ",   "OR    ", "CP    "};
const char* const kRotate[8] = {"RLC", "RRC", "RL", "RR", "SLA", "SRA", "SLL", "SRL"};
const char* const kAccumulatorOps[8] = {"RLCA", "RRCA", "RLA", "RRA", "DAA", "CPL", "SCF", "CCF"};
const char* const kBlockBase[4] = {"LD", "CP", "IN", "OUT"};
const char* const kBlockSuffix[4] = {"I", "D", "IR", "DR"};
const char* const kEdLoadsIr[6] = {"LD    I,A", "LD    R,A", "LD    A,I", "LD    A,R", "RRD", "RLD"};
const uint8_t kImModeByY[8] = {0, 0, 1, 2, 0, 0, 1, 2}; // as the processor sets it

enum class Index { None, IX, IY };

// Whether a DD or FD prefix changes the opcode after it: the opcodes that name HL, H, L
// or (HL), except EX DE,HL and HALT. Before any other opcode the prefix runs alone.
bool IndexModifies(uint8_t op) {
    const unsigned x = op >> 6, y = (op >> 3) & 7, z = op & 7;
    switch (x) {
    case 0:
        if (z == 1) return (y & 1) || y == 4; // ADD HL,rp; LD HL,nn
        if (z == 2) return y == 4 || y == 5;  // LD (nn),HL; LD HL,(nn)
        if (z == 3) return (y >> 1) == 2;     // INC HL; DEC HL
        if (z >= 4 && z <= 6) return y >= 4 && y <= 6;
        return false;
    case 1: return op != 0x76 && ((y >= 4 && y <= 6) || (z >= 4 && z <= 6));
    case 2: return z >= 4 && z <= 6;
    default: return op == 0xCB || op == 0xE1 || op == 0xE3 || op == 0xE5 || op == 0xE9 || op == 0xF9;
    }
}

// Joins texts by appending (GCC 12 warns falsely about "literal" + std::string&&).
std::string Join(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

std::string Format(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Decodes one instruction from `start`, collecting its bytes and its text.
class Decoder {
  public:
    explicit Decoder(uint32_t start) : next_(start) {}

    void Decode() {
        uint8_t op = Fetch();
        if (op == 0xDD || op == 0xFD) {
            const uint32_t start = next_ - 1;
            const uint8_t first = op;
            // A run of prefixes: the last decides the index register and takes the prefix
            // slot; all of them count in the length.
            while (next_ <= machine.ramTop && (Peek() == 0xDD || Peek() == 0xFD)) {
                count_ = 0;
                op = Fetch();
            }
            const uint8_t opcode = Peek();
            if (IndexModifies(opcode)) {
                index_ = op == 0xDD ? Index::IX : Index::IY;
                DecodeMain(Fetch());
            } else if (opcode >> 6 == 2) {
                // The accumulator group on another register: the first prefix stands alone
                // and the next line decodes what follows it.
                next_ = start + 1;
                count_ = 1;
                bytes_[0] = first;
                text_ = first == 0xDD ? "DEFB  DD ?" : "DEFB  FD ?";
            } else if (opcode == 0xED) {
                Fetch();
                DecodeEd(Fetch());
            } else {
                DecodeMain(Fetch()); // the prefix does nothing: plain text, one line
            }
        } else if (op == 0xED) {
            DecodeEd(Fetch());
        } else {
            DecodeMain(op);
        }
    }

    uint32_t next() const { return next_; }
    const std::string& text() const { return text_; }
    // " " and each byte as two hexadecimal digits, padded to four bytes, then " ".
    std::string ByteColumn() const {
        std::string column = " ";
        for (int k = 0; k < 4; ++k)
            column += k < count_ ? Format("%02X", bytes_[k]) : "  ";
        return column + " ";
    }

  private:
    uint8_t ByteAt(uint32_t a) const { return a > machine.ramTop ? 0 : machine.pages[a >> 13][a & 0x1FFF]; }
    uint8_t Peek() const { return ByteAt(next_); }
    uint8_t Fetch() {
        const uint8_t b = ByteAt(next_);
        if (next_ <= machine.ramTop) ++next_;
        if (count_ < 4) bytes_[count_++] = b;
        return b;
    }

    bool Hex() const { return disassembler.numberBase != 10; }
    std::string N8(uint8_t n) const { return Format(Hex() ? "#%02X" : "%u", n); }
    std::string Number16(uint16_t nn) const { return Format(Hex() ? "#%04X" : "%u", nn); }
    // A 16-bit operand, named after the system variable at that address when asked to.
    std::string NN() {
        const uint8_t lo = Fetch();
        const uint16_t nn = uint16_t(lo | Fetch() << 8);
        if (Hex() && (opt_dis_sv || disassembler.exportSystemVariables))
            if (const SystemVariable* v = SystemVariableAt(nn)) return v->name;
        return Number16(nn);
    }
    // A jump or call target, named after the ROM routine there when asked to.
    std::string Target(uint16_t target) const {
        if (Hex() && opt_dis_rom)
            if (const char* label = RomLabelAt(target)) return label;
        return Number16(target);
    }
    // JP and CALL: a ROM routine's label, else a system variable's name like any nn.
    std::string TargetNN() {
        const uint8_t lo = Fetch();
        const uint16_t nn = uint16_t(lo | Fetch() << 8);
        if (Hex() && (opt_dis_sv || disassembler.exportSystemVariables))
            if (const SystemVariable* v = SystemVariableAt(nn)) return v->name;
        return Target(nn);
    }
    // JR and DJNZ: relative to the byte after the displacement, wrapping at 64 KB.
    std::string Relative() {
        const int8_t e = int8_t(Fetch());
        return Target(uint16_t(next_ + e));
    }

    const char* IndexName() const { return index_ == Index::IX ? "IX" : "IY"; }
    std::string Pair(unsigned p) const { return p == 2 && index_ != Index::None ? IndexName() : kReg16[p]; }
    std::string PairAf(unsigned p) const {
        return p == 2 && index_ != Index::None ? IndexName() : kReg16Af[p];
    }
    // (IX+d) with its displacement byte fetched now.
    std::string Indexed() {
        const int d = int8_t(Fetch());
        const unsigned magnitude = unsigned(d < 0 ? -d : d);
        return Join({"(", IndexName(), d < 0 ? "-" : "+", Format(Hex() ? "#%02X" : "%u", magnitude), ")"});
    }
    // r[z] where H and L stand for the index halves (no (HL) in that instruction).
    std::string Half(unsigned r) const {
        if (index_ == Index::None || (r != 4 && r != 5)) return kReg8[r];
        return std::string(IndexName()) + (r == 4 ? "H" : "L");
    }
    // r[z] in an instruction where (HL) may stand: (HL) becomes (IX+d), H and L the halves
    // unless `plainHl` (beside an indexed operand H and L stay themselves).
    std::string Reg(unsigned r, bool plainHl = false) {
        if (r == 6) return index_ == Index::None ? "(HL)" : Indexed();
        return plainHl ? kReg8[r] : Half(r);
    }

    static std::string Op(const std::string& mnemonic, const std::string& operands) {
        std::string text = mnemonic;
        text.resize(6, ' ');
        return text + operands;
    }

    void DecodeMain(uint8_t op);
    void DecodeCb(uint8_t op);
    void DecodeIndexedCb();
    void DecodeEd(uint8_t op);

    uint32_t next_;
    uint8_t bytes_[4] = {};
    int count_ = 0;
    Index index_ = Index::None;
    std::string text_;
};

void Decoder::DecodeMain(uint8_t op) {
    const unsigned x = op >> 6, y = (op >> 3) & 7, z = op & 7, p = y >> 1, q = y & 1;
    const std::string hl = Pair(2);
    switch (x) {
    case 0:
        switch (z) {
        case 0:
            if (y == 0)
                text_ = "NOP";
            else if (y == 1)
                text_ = "EX    AF,AF'";
            else if (y == 2)
                text_ = Op("DJNZ", Relative());
            else if (y == 3)
                text_ = Op("JR", Relative());
            else
                text_ = Op("JR", Join({kJumpCondition[y - 4], Relative()}));
            return;
        case 1: text_ = q ? Op("ADD", hl + "," + Pair(p)) : Op("LD", Pair(p) + "," + NN()); return;
        case 2:
            switch (y) {
            case 0: text_ = "LD    (BC),A"; return;
            case 1: text_ = "LD    A,(BC)"; return;
            case 2: text_ = "LD    (DE),A"; return;
            case 3: text_ = "LD    A,(DE)"; return;
            case 4: text_ = Op("LD", Join({"(", NN(), "),", hl})); return;
            case 5: text_ = Op("LD", Join({hl, ",(", NN(), ")"})); return;
            case 6: text_ = Op("LD", Join({"(", NN(), "),A"})); return;
            default: text_ = Op("LD", Join({"A,(", NN(), ")"})); return;
            }
        case 3: text_ = Op(q ? "DEC" : "INC", Pair(p)); return;
        case 4: text_ = Op("INC", Reg(y)); return;
        case 5: text_ = Op("DEC", Reg(y)); return;
        case 6: {
            const std::string target = Reg(y); // the displacement comes before the immediate
            text_ = Op("LD", target + "," + N8(Fetch()));
            return;
        }
        default: text_ = kAccumulatorOps[y]; return;
        }
    case 1:
        if (op == 0x76) {
            text_ = "HALT";
        } else {
            const bool memory = y == 6 || z == 6;
            const std::string to = Reg(y, memory);
            text_ = Op("LD", to + "," + Reg(z, memory));
        }
        return;
    case 2: text_ = Join({kAlu[y], Reg(z)}); return;
    default: break;
    }
    switch (z) {
    case 0: text_ = Op("RET", kRetCondition[y]); return;
    case 1:
        if (!q)
            text_ = Op("POP", PairAf(p));
        else if (p == 0)
            text_ = "RET";
        else if (p == 1)
            text_ = "EXX";
        else if (p == 2)
            text_ = Op("JP", Join({"(", hl, ")"}));
        else
            text_ = Op("LD", Join({"SP,", hl}));
        return;
    case 2: text_ = Op("JP", Join({kJumpCondition[y], TargetNN()})); return;
    case 3:
        switch (y) {
        case 0: text_ = Op("JP", TargetNN()); return;
        case 1:
            if (index_ == Index::None)
                DecodeCb(Fetch());
            else
                DecodeIndexedCb();
            return;
        case 2: text_ = Op("OUT", Join({"(", N8(Fetch()), "),A"})); return;
        case 3: text_ = Op("IN", Join({"A,(", N8(Fetch()), ")"})); return;
        case 4: text_ = Op("EX", Join({"(SP),", hl})); return;
        case 5: text_ = "EX    DE,HL"; return;
        case 6: text_ = "DI"; return;
        default: text_ = "EI"; return;
        }
    case 4: text_ = Op("CALL", Join({kJumpCondition[y], TargetNN()})); return;
    case 5: text_ = q ? Op("CALL", TargetNN()) : Op("PUSH", PairAf(p)); return;
    case 6: text_ = Join({kAlu[y], N8(Fetch())}); return;
    default: text_ = Op("RST", Hex() ? Format("#%02X", y * 8) : Format("%u", y * 8)); return;
    }
}

void Decoder::DecodeCb(uint8_t op) {
    const unsigned x = op >> 6, y = (op >> 3) & 7, z = op & 7;
    static const char* const kBitOps[4] = {nullptr, "BIT", "RES", "SET"};
    if (x == 0)
        text_ = Op(kRotate[y], kReg8[z]);
    else
        text_ = Op(kBitOps[x], Format("%u", y) + "," + kReg8[z]);
}

// DD CB d op: the displacement comes before the opcode. Rotates, RES and SET on a
// register other than (HL) also copy the result into that register.
void Decoder::DecodeIndexedCb() {
    const std::string operand = Indexed();
    const uint8_t op = Fetch();
    const unsigned x = op >> 6, y = (op >> 3) & 7, z = op & 7;
    if (x == 1) {
        text_ = Op("BIT", Format("%u", y) + "," + operand);
        return;
    }
    const std::string operation = x == 0 ? kRotate[y] : Format(x == 2 ? "RES %u" : "SET %u", y);
    if (z == 6) {
        text_ =
            x == 0 ? Op(kRotate[y], operand) : Op(x == 2 ? "RES" : "SET", Format("%u", y) + "," + operand);
    } else {
        const std::string copy = x == 0 ? operation + " " : operation + ",";
        text_ = Op("LD", std::string(kReg8[z]) + "," + copy + operand);
    }
}

void Decoder::DecodeEd(uint8_t op) {
    const unsigned x = op >> 6, y = (op >> 3) & 7, z = op & 7, p = y >> 1, q = y & 1;
    if (x == 1) {
        switch (z) {
        case 0: text_ = y == 6 ? "IN    F,(C)" : Op("IN", std::string(kReg8[y]) + ",(C)"); return;
        case 1: text_ = y == 6 ? "OUT   (C),0" : Op("OUT", std::string("(C),") + kReg8[y]); return;
        case 2: text_ = Op(q ? "ADC" : "SBC", std::string("HL,") + kReg16[p]); return;
        case 3:
            text_ = q ? Op("LD", Join({kReg16[p], ",(", NN(), ")"}))
                      : Op("LD", Join({"(", NN(), "),", kReg16[p]}));
            return;
        case 4: text_ = "NEG"; return;
        case 5: text_ = q ? "RETI" : "RETN"; return;
        case 6: text_ = Op("IM", Format("%u", kImModeByY[y])); return;
        default:
            if (y < 6)
                text_ = kEdLoadsIr[y];
            else
                text_.assign(1, '*');
            return;
        }
    }
    if (x == 2) {
        text_ = Join({z < 4 ? kBlockBase[z] : "*", y >= 4 ? kBlockSuffix[y - 4] : "*"});
        return;
    }
    // The tape deck plants these two in the ROM to take over its tape routines.
    if (op == 0xFC)
        text_ = "TRAP  LOAD";
    else if (op == 0xFD)
        text_ = "TRAP  SAVE";
    else
        text_.assign(1, '*');
}

} // namespace

uint32_t disassembleLine(uint32_t address) {
    if (address > machine.ramTop) {
        disassembler.lineText.clear();
        disassembler.disAddr = machine.ramTop + 1;
        return machine.ramTop + 1;
    }
    Decoder decoder(address);
    decoder.Decode();
    disassembler.lineText = Format("%04X ", address) + decoder.ByteColumn() + decoder.text();
    disassembler.disAddr = decoder.next();
    return address;
}

uint32_t instructionLength(uint32_t address) {
    if (address > machine.ramTop) return 1;
    Decoder decoder(address);
    decoder.Decode();
    const uint32_t length = decoder.next() - address;
    return length ? length : 1;
}

uint32_t moveByInstructions(uint32_t address, int count) {
    const uint32_t end = machine.ramTop + 1;
    if (address > end) address = end;
    for (; count > 0 && address < end; --count)
        address += instructionLength(address);
    for (; count < 0 && address > 0; ++count) {
        uint32_t back = 1;
        for (uint32_t distance = 1; distance <= 8 && distance <= address; ++distance)
            if (address - distance <= machine.ramTop && instructionLength(address - distance) == distance)
                back = distance;
        address -= back;
    }
    return address < end ? address : end;
}

std::string InstructionText(uint32_t address) {
    if (address > machine.ramTop) return {};
    Decoder decoder(address);
    decoder.Decode();
    return decoder.text();
}
