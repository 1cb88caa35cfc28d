// TZX tape images: the standard-speed blocks (ID 0x10) of a "ZXTape!" file, played by the
// deck as a signal.
//
// Not built yet: LoadTzxFromBuffer inserts nothing.
#pragma once

#include <string>

// File kind 4 of Load File: the load buffer as a TZX tape. Returns true when it reported.
bool LoadTzxFromBuffer(const std::string& bareName);
