// The two fonts made with the main window and shared by the other windows: a bold
// proportional one for titles and texts, and a fixed-pitch one for listings and numbers.
#pragma once

#include <QFont>

QFont BoldTitleFont(); // "Arial", 15 pixels, bold
QFont ListingFont();   // "Consolas", 13 pixels (a monospaced stand-in where it is missing)
