// The twenty one-line quotations that Help shows, one picked at random each time.
#pragma once

#include <cstdint>

constexpr int kHelpQuoteCount = 20;

const char* HelpQuote(int index); // index taken modulo kHelpQuoteCount
