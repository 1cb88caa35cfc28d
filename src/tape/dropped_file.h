// Which loader a file dropped on the main window goes to.
//
// Dropping has its own rule, looser and stricter than Load File's: the extension runs
// from the last "." of the file's name, and a table entry matches when the extension
// begins with the entry's text byte for byte. So "GAME.TAPE" counts as a TAP tape, while
// a mixed-case "GAME.Tap" matches nothing (and is reported as an unknown extension). A
// one-letter ending (".f") matches only itself, so "song.flac" is not typed in as FORTH.
#pragma once

#include <string_view>

#include "tape/file_kinds.h"

// The extension of the name part of `path` from its last "." on; "" without one.
std::string_view DroppedExtension(std::string_view path);

// The first entry of the file-kind table that the extension begins with, else None.
FileKind DroppedFileKind(std::string_view path);
