// Stopping and stepping by FORTH word. The ROM's inner interpreter enters every word
// through one instruction:
//
//   04B8 POP HL; 04B9 POP HL     EXIT (;): drop the return into EXIT, take the caller's IP
//   04BA LD E,(HL) ... PUSH HL   fetch the next compilation address, IP kept on the Z80 stack
//   04BF EX DE,HL ... EX DE,HL   DE = parameter field, HL = the code field's contents
//   04C5 JP (HL)                 dispatch
//
// Docolon (0EC3) starts a body by jumping back to 04BA, and the outer interpreter runs a
// typed word through the same path, so at 04C5 DE - 2 is always the word being entered
// and the top of the Z80 stack is where the current definition goes on.
//
//   AddBreakpoint("#04C5", WordBreakCondition(*FindRamWord("SQ")));   // stops entering SQ
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "debugger/forth_views.h"

constexpr uint16_t kForthDispatch = 0x04C5;

// The breakpoint condition that singles out one word at the dispatch: "DE=#3C5A".
std::string WordBreakCondition(const ForthWord& word);
// At the dispatch: the compilation address of the word being entered.
uint16_t WordBeingEntered();
// The name of the word at a compilation address (ROM or RAM), "" when none is there.
std::string ForthWordNameAt(uint16_t cfa);
// The word a breakpoint stops on, when it is a word breakpoint ("SQ"); else "".
std::string BreakpointWordName(int index);
// A RAM word's name typed where a breakpoint's address goes: sets the dispatch address
// and the condition that singles the word out. False, changing nothing, when the text is
// a number or names no RAM word.
bool WordBreakpointFields(const std::string& text, std::string& address, std::string& condition);
// The breakpoint list's address column: the word's name for a word breakpoint, else "#%04X".
std::string BreakpointPlaceText(int index);
// "SQ in CUBE+2": the word about to be entered and where the current definition goes on.
std::string DispatchDescription();
