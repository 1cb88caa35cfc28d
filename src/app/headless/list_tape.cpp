#include "list_tape.h"

#include <cstdio>

#include "tape/file_kinds.h"
#include "tape/load_buffer.h"
#include "tape/tap_format.h"
#include "tape/tape_listing.h"
#include "tape/tzx_format.h"

bool ListTape(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        error = "cannot read '" + path + "'";
        return false;
    }
    const FileKind kind = FileKindByEnding(path);
    std::vector<TapeBlock> blocks;
    if (kind == FileKind::Tap) {
        TapParseResult tape = ParseTapBlocks(bytes);
        if (tape.truncated) error = "the last block of '" + path + "' is cut short";
        blocks = std::move(tape.blocks);
    } else if (kind == FileKind::Tzx) {
        TzxParseResult tape = ParseTzx(bytes);
        if (tape.problem == TzxProblem::BadSignature) {
            error = "'" + path + "' is not a TZX file";
            return false;
        }
        if (tape.problem != TzxProblem::None)
            error = "'" + path + "': the tape ends at offset " + std::to_string(tape.problemOffset) +
                    " (block " + (tape.problem == TzxProblem::Truncated ? "cut short" : "of unknown kind") +
                    ")";
        blocks = std::move(tape.blocks);
    } else {
        error = "--list-tape lists .tap and .tzx files, not '" + path + "'";
        return false;
    }
    for (const std::string& row : TapeRows(blocks))
        std::printf("%s\n", row.c_str());
    return true;
}
