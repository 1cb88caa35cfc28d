#include "app/help_quotes.h"

namespace {

const char* const kQuotes[kHelpQuoteCount] = {
    "\"Simplicity is prerequisite for reliability.\" - Edsger W. Dijkstra",
    "\"Premature optimization is the root of all evil.\" - Donald Knuth",
    "\"The purpose of computing is insight, not numbers.\" - Richard Hamming",
    "\"The best way to predict the future is to invent it.\" - Alan Kay",
    "\"Any sufficiently advanced technology is indistinguishable from magic.\" - Arthur C. Clarke",
    "\"Simplicity does not precede complexity, but follows it.\" - Alan Perlis",
    "\"A language that doesn't affect the way you think about programming is not worth knowing.\" - Alan "
    "Perlis",
    "\"Make it work, make it right, make it fast.\" - Kent Beck",
    "\"Talk is cheap. Show me the code.\" - Linus Torvalds",
    "\"Well begun is half done.\" - Aristotle",
    "\"Knowledge is power.\" - Francis Bacon",
    "\"Brevity is the soul of wit.\" - William Shakespeare",
    "\"Fortune favours the bold.\" - Virgil",
    "\"Festina lente: make haste slowly.\" - Augustus",
    "\"The journey of a thousand miles begins with one step.\" - Lao Tzu",
    "\"I think, therefore I am.\" - Rene Descartes",
    "\"Measure twice, cut once.\" - Proverb",
    "\"Small is beautiful.\" - E. F. Schumacher",
    "\"Less is more.\" - Ludwig Mies van der Rohe",
    "\"Nothing in excess.\" - Inscription at Delphi",
};

} // namespace

const char* HelpQuote(int index) {
    index %= kHelpQuoteCount;
    if (index < 0) index += kHelpQuoteCount;
    return kQuotes[index];
}
