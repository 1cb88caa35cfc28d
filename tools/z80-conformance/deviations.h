// Where the core deliberately differs from what a suite's reference machine does, the
// suite's expectation is rewritten here to what the core defines, one explicit rule per
// difference. docs/z80-conformance.md lists each rule with its reason.
#pragma once

#include "instruction_test.h"

// Adjusts t.expected and t.flagMask for the instruction at t.initial.pc.
void ApplyCoreDeviations(InstructionTest& t);
