// --list-tape: the tape browser's rows of a TAP or TZX file, one a line, then
// "End Of Tape". The file is parsed, never inserted.
#pragma once

#include <string>

// False when nothing could be listed. A tape that ends in a fault lists the rows before
// it, returns true and leaves the fault in `error`.
bool ListTape(const std::string& path, std::string& error);
