// The breakpoint table as text, so that it lasts from one run to the next: one line per
// entry, kind, address (or range), active, then the condition if there is one.
//
//   EXEC #0336 YES IX=#3C00
//   WRITE #3C59-#3C5A NO
//   PORT #00FE YES
//
// The application keeps it in its own file beside noltace.ini, written and read with
// the settings.
#pragma once

#include <string>

constexpr const char* kBreakpointFileName = "noltace-breakpoints.txt";

std::string FormatBreakpointList();
// Replaces the table with the entries of `text`; a line that is not an entry (or one the
// table refuses: an address beyond the model's memory, a 257th entry) is skipped.
// Returns how many lines were skipped.
int ParseBreakpointList(const std::string& text);
