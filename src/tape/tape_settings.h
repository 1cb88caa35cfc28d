// The start-address text of the "[Tapes]" settings: kept and written back by the
// configuration file so a user's value survives; nothing else reads it yet.
#pragma once

#include <string>

constexpr int kStartAddressMaxLength = 7;
extern std::string opt_startaddr; // "20000" by default
