// The texts the tape browser shows for a block: its row in the list and the rows of its
// detail pane. noltace-headless --list-tape prints the same rows.
//
//   TapeBlockRow(block)      -> "27 data bytes", "Text Description: Created using ..."
//   TapeBlockDetails(block)  -> {{"Block ID", "0x10 - STANDARD SPEED DATA BLOCK"}, ...}
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tape/tape_block.h"

constexpr const char* kEndOfTapeRow = "End Of Tape";

std::string TapeBlockRow(const TapeBlock& block);

using DetailRows = std::vector<std::pair<std::string, std::string>>;
DetailRows TapeBlockDetails(const TapeBlock& block);
// The first detail row of a select block's choices: row kFirstChoiceRow + k is choice k.
constexpr int kFirstChoiceRow = 1;

// Every row of a tape, then "End Of Tape".
std::vector<std::string> TapeRows(const std::vector<TapeBlock>& blocks);
